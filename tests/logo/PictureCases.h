// The picture files every platform's picture decoder is held to: each PNG colour type and
// BMP variant, written by hand, with the picture each must read as on white paper. 16-bit
// bitmaps are not among them: their 5- and 6-bit components have no exact 8-bit value,
// and Qt's reader and WIC round them differently.
#pragma once

#include <string>
#include <vector>

#include "logo/LogoSet.h"
#include "settings/LogoSettings.h"

namespace printset {

struct TPictureCase {
  std::string Name;
  std::string File;  // the whole file
  TPicture OnWhite;  // what it reads as, laid over white
};

std::vector<TPictureCase> PictureCases();

// The logo set BuildLogoSet packs of the one picture at `path` under `rule` at the
// default threshold, read by `load`.
std::vector<uint8_t> PackedUnder(const std::string& path, TDotRule rule, const TPictureLoader& load);

// One line per case and dot rule, as the Linux build writes them and the Windows build
// compares: "NAME<TAB>RULE<TAB>HEX", HEX the packed set, or "unreadable". `folder` takes
// the files while they are read.
std::vector<std::string> PackedCaseLines(const std::string& folder, const TPictureLoader& load);

}  // namespace printset
