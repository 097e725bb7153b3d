// Writing BMP files by hand, so that the picture loader can be tried on each variant
// of the format without sample files.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "logo/LogoSet.h"

namespace printset {

enum class TBmpCompression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct TBmpOptions {
  int BitsPerPixel = 24;
  bool TopDown = false;  // stored as a negative height
  TBmpCompression Compression = TBmpCompression::Rgb;
  // Red, green, blue, alpha, for BitFields only. A non-zero alpha mask gives the file
  // a version 4 header, the only one that carries it.
  std::array<uint32_t, 4> Masks = {};
};

// The whole file. Palette formats get the picture's colours in order of first use, so
// the picture must not hold more than the depth allows. The alpha bits, where there is
// an alpha mask, are each colour's top byte (0 in a picture's colours: transparent).
std::string EncodeBmp(const TPicture& picture, const TBmpOptions& options);

}  // namespace printset
