#include "support/BmpFile.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <vector>

namespace printset {

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;

void Put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

uint32_t Red(uint32_t colour) { return colour & 0xFF; }
uint32_t Green(uint32_t colour) { return (colour >> 8) & 0xFF; }
uint32_t Blue(uint32_t colour) { return (colour >> 16) & 0xFF; }

// An 8-bit component into the bits of `mask`, keeping its top bits.
uint32_t IntoMask(uint32_t component, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  return ((component >> (8 - bits)) << shift) & mask;
}

std::vector<uint32_t> PaletteOf(const TPicture& picture) {
  std::vector<uint32_t> palette;
  for (uint32_t colour : picture.Pixels)
    if (std::find(palette.begin(), palette.end(), colour) == palette.end()) palette.push_back(colour);
  return palette;
}

uint8_t IndexOf(const std::vector<uint32_t>& palette, uint32_t colour) {
  return static_cast<uint8_t>(std::find(palette.begin(), palette.end(), colour) - palette.begin());
}

// Without bit fields the layout is fixed: 5-5-5 in 16 bits, 8-8-8 in 32.
std::array<uint32_t, 4> MasksFor(const TBmpOptions& options) {
  if (options.Compression == TBmpCompression::BitFields) return options.Masks;
  if (options.BitsPerPixel == 16) return {0x7C00, 0x03E0, 0x001F, 0};
  return {0xFF0000, 0x00FF00, 0x0000FF, 0};
}

std::string UncompressedRow(const TPicture& picture, int y, const TBmpOptions& options,
                            const std::vector<uint32_t>& palette) {
  std::string row;
  const std::array<uint32_t, 4> masks = MasksFor(options);
  const uint32_t* pixels = picture.Pixels.data() + static_cast<size_t>(y) * picture.Width;
  if (options.BitsPerPixel <= 8) {
    const int perByte = 8 / options.BitsPerPixel;
    row.assign(static_cast<size_t>((picture.Width + perByte - 1) / perByte), '\0');
    for (int x = 0; x < picture.Width; ++x) {
      const int shift = 8 - options.BitsPerPixel * (x % perByte + 1);
      row[static_cast<size_t>(x / perByte)] |= static_cast<char>(IndexOf(palette, pixels[x]) << shift);
    }
  } else {
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t c = pixels[x];
      if (options.BitsPerPixel == 24) {
        row += static_cast<char>(Blue(c));
        row += static_cast<char>(Green(c));
        row += static_cast<char>(Red(c));
      } else {
        const uint32_t word =
            IntoMask(Red(c), masks[0]) | IntoMask(Green(c), masks[1]) | IntoMask(Blue(c), masks[2]) |
            IntoMask(c >> 24, masks[3]);
        if (options.BitsPerPixel == 16) Put16(row, word);
        else Put32(row, word);
      }
    }
  }
  while (row.size() % 4 != 0) row += '\0';
  return row;
}

// Encoded runs only: a count and the index (twice over, one per nibble, for RLE4).
std::string RunLengthRow(const TPicture& picture, int y, bool fourBits, const std::vector<uint32_t>& palette) {
  std::string row;
  const uint32_t* pixels = picture.Pixels.data() + static_cast<size_t>(y) * picture.Width;
  for (int x = 0; x < picture.Width;) {
    int run = 1;
    while (x + run < picture.Width && run < 255 && pixels[x + run] == pixels[x]) ++run;
    const uint8_t index = IndexOf(palette, pixels[x]);
    row += static_cast<char>(run);
    row += static_cast<char>(fourBits ? (index << 4 | index) : index);
    x += run;
  }
  row += std::string("\0\0", 2);  // end of line
  return row;
}

}  // namespace

std::string EncodeBmp(const TPicture& picture, const TBmpOptions& options) {
  const bool palettised = options.BitsPerPixel <= 8;
  const std::vector<uint32_t> palette = palettised ? PaletteOf(picture) : std::vector<uint32_t>{};
  if (palette.size() > (1u << std::min(options.BitsPerPixel, 8)))
    throw std::invalid_argument("too many colours for the depth");
  const bool runLength = options.Compression == TBmpCompression::Rle8 || options.Compression == TBmpCompression::Rle4;

  std::string pixels;
  for (int i = 0; i < picture.Height; ++i) {
    const int y = options.TopDown ? i : picture.Height - 1 - i;
    pixels += runLength ? RunLengthRow(picture, y, options.Compression == TBmpCompression::Rle4, palette)
                        : UncompressedRow(picture, y, options, palette);
  }
  if (runLength) pixels += std::string("\0\1", 2);  // end of bitmap

  const bool bitFields = options.Compression == TBmpCompression::BitFields;
  const bool v4 = bitFields && options.Masks[3] != 0;
  const uint32_t headerSize = v4 ? kV4HeaderSize : kInfoHeaderSize;
  const uint32_t maskBytes = bitFields && !v4 ? 12 : 0;
  const uint32_t offset = 14 + headerSize + maskBytes + static_cast<uint32_t>(palette.size()) * 4;

  std::string file = "BM";
  Put32(file, offset + static_cast<uint32_t>(pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  Put32(file, headerSize);
  Put32(file, static_cast<uint32_t>(picture.Width));
  Put32(file, static_cast<uint32_t>(options.TopDown ? -picture.Height : picture.Height));
  Put16(file, 1);
  Put16(file, static_cast<uint32_t>(options.BitsPerPixel));
  Put32(file, static_cast<uint32_t>(options.Compression));
  Put32(file, static_cast<uint32_t>(pixels.size()));
  Put32(file, 2835);  // 72 dots per inch
  Put32(file, 2835);
  Put32(file, static_cast<uint32_t>(palette.size()));
  Put32(file, 0);
  if (bitFields)
    for (int i = 0; i < (v4 ? 4 : 3); ++i) Put32(file, options.Masks[static_cast<size_t>(i)]);
  if (v4) {
    Put32(file, 0x73524742);           // colour space "sRGB"
    file += std::string(36 + 12, '\0');  // end points and gamma, unused for sRGB
  }
  for (uint32_t colour : palette) {
    file += static_cast<char>(Blue(colour));
    file += static_cast<char>(Green(colour));
    file += static_cast<char>(Red(colour));
    file += '\0';
  }
  return file + pixels;
}

}  // namespace printset
