// PNG files written by hand, chunk by chunk, so that the picture loader meets each colour
// type as another program would write it, not as Qt's own writer chooses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printset {

enum class TPngColourType : uint8_t { Grey = 0, Rgb = 2, Palette = 3, GreyAlpha = 4, Rgba = 6 };

struct TPngPicture {
  int Width = 0;
  int Height = 0;
  TPngColourType Type = TPngColourType::Rgba;
  std::vector<uint8_t> Samples;  // 8 bits each, rows from the top, no filter bytes
  std::vector<uint8_t> Palette;  // PLTE: red, green, blue per entry
  std::vector<uint8_t> Alpha;    // tRNS: one alpha per palette entry; none when empty
};

// The whole file: signature, IHDR, PLTE and tRNS where given, one IDAT, IEND.
std::string EncodePng(const TPngPicture& picture);

}  // namespace printset
