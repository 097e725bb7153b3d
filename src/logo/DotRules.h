// Which dots of a picture print: the rules that turn colours into one-bit dots.
//
// Classic: a dot where the blue component is below the threshold.
// Luma: a dot where the luma Y = 0.299 R + 0.587 G + 0.114 B is below the threshold.
// FloydSteinberg, Atkinson: luma against the threshold, the difference between the luma
//   and the dot's own (0 or 255) carried to the neighbours still to come, left to right
//   and top to bottom (7/16, 3/16, 5/16, 1/16; Atkinson 1/8 to six of them).
// Ordered: luma against the threshold moved up or down by an 8 x 8 Bayer matrix, so that
//   an even grey prints its share of the 64 cells.
// Under every rule black (0,0,0) always prints and white (255,255,255) never does, so a
// picture of black and white alone gives the same dots whatever the rule and threshold.
#pragma once

#include <cstdint>
#include <vector>

#include "logo/LogoSet.h"
#include "settings/LogoSettings.h"

namespace printset {

// One byte per pixel, row-major like picture.Pixels: 1 where a dot prints, else 0.
// `threshold` from kMinDotThreshold to kMaxDotThreshold (anything else is clamped into
// that range). Never fails.
std::vector<uint8_t> PictureDots(const TPicture& picture, TDotRule rule, int32_t threshold);

}  // namespace printset
