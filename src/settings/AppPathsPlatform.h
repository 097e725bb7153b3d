// What choosing the program's folders needs of the operating system; one implementation
// file per platform (AppPathsLinux.cpp, AppPathsWin32.cpp). Folder names end in '/'.
#pragma once

#include <string>
#include <string_view>

namespace printset::platform {

// `folder` ending in a separator ("./" for an empty name).
std::string WithSlash(std::string folder);
// Whether this user may make files in `folder`.
bool IsWritableFolder(const std::string& folder);
// The per-user base of the settings into `folder`; false, with `reason`, when the system
// names none.
bool ConfigBaseFolder(std::string& folder, std::string& reason);
bool StateBaseFolder(std::string& folder, std::string& reason);  // as ConfigBaseFolder, for the traces
// Makes `folder` and its missing parents; false, with `reason` naming the part that could
// not be made.
bool MakeFolder(const std::string& folder, std::string& reason);
// Makes `target` holding `content` unless `target` exists; never leaves half a file or
// replaces one. False, with `reason`, when the file cannot be made.
bool CreateFileOnce(const std::string& target, std::string_view content, std::string& reason);

}  // namespace printset::platform
