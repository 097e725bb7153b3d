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
// The per-user bases of the settings and of the traces; throw std::runtime_error when the
// system names none.
std::string ConfigBaseFolder();
std::string StateBaseFolder();  // as ConfigBaseFolder, for the traces
// Makes `folder` and its missing parents; throws std::runtime_error naming the part that
// could not be made.
void MakeFolder(const std::string& folder);
// Makes `target` holding `content` unless `target` exists; never leaves half a file or
// replaces one. Throws std::runtime_error when the file cannot be made.
void CreateFileOnce(const std::string& target, std::string_view content);

}  // namespace printset::platform
