// How the logo list shows a picture's path: relative to the program folder.
#pragma once

#include <string>

namespace printset {

// `fullPath` and `folderWithTrailingSlash` are absolute, with "/" separators. Folder
// names that both share at their start are dropped (compared with case, as Linux file
// names are); one "../" stands for each remaining folder of the program folder, then
// come the remaining folders of the file's path and its name. With the folder
// /opt/tool/: /opt/tool/a.bmp -> a.bmp, /opt/logos/a.bmp -> ../logos/a.bmp,
// /a.bmp -> ../../a.bmp. A Windows path on another drive or share than the folder's
// ("D:/logos/a.bmp" with the folder "C:/tool/") has no relative form and stays as it is;
// drive letters and server names compare in either case.
std::string RelativeToFolder(const std::string& fullPath, const std::string& folderWithTrailingSlash);

}  // namespace printset
