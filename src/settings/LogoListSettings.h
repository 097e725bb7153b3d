// The [LOGOFILES] section of "config.ini": the pictures of the NVRAM page's logo list,
// so that the next start lists them again.
//   [LOGOFILES]  COUNT=2  FILE1=pics/a.bmp  FILE2=/srv/logos/b.png
#pragma once

#include <string>
#include <vector>

#include "settings/ProfileFile.h"

namespace printset {

// The entries as written, in list order: FILE1 to FILE<COUNT>, an empty or missing one
// left out; none when COUNT is missing or not a number from 1 to 255. Never fails.
std::vector<std::string> ReadLogoList(const TProfileFile& file);

// Writes COUNT and FILE1 to FILE<n>, and empties the FILE keys a longer list left
// behind; an empty list writes nothing into a file without COUNT. False when the file cannot be written or a path cannot stand in it
// (TProfileFile::LastError tells why).
bool WriteLogoList(TProfileFile& file, const std::vector<std::string>& paths);

}  // namespace printset
