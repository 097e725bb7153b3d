// The sample "config.ini" (packaging/config.ini), built into every program: a new
// per-user settings file starts as a copy of it, and a file without code pages can take
// its [CODEPAGE] section.
#pragma once

#include <string>
#include <string_view>

namespace printset {

class TProfileFile;

// The sample's whole text, lines ended by LF. Never fails.
std::string_view SampleConfigText();

// Adds the sample's [CODEPAGE] section, its comments included, at the end of `profile`'s
// file and leaves every other line as it was. False, with `reason`, when the file already
// has a [CODEPAGE] section or cannot be written (as TProfileFile::AppendSection says).
bool AddSampleCodePages(TProfileFile& profile, std::string& reason);

}  // namespace printset
