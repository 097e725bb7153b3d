#include "PictureCases.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <optional>

#include "HandMadePng.h"
#include "support/BmpFile.h"

namespace printset {

namespace {

// Odd sizes, so that every depth's rows need padding to whole 4-byte words.
constexpr int kWidth = 37;
constexpr int kHeight = 23;

uint32_t Colour(int red, int green, int blue) {
  return static_cast<uint32_t>(blue) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(red);
}

// Every grey level and many colours: the dithering rules carry each pixel's error on.
TPicture ManyColours() {
  TPicture picture{kWidth, kHeight, {}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int grey = (x * 7 + y * 11) % 256;
      picture.Pixels.push_back(Colour(grey, (grey + y * 5) % 256, (255 - grey + x) % 256));
    }
  return picture;
}

// Sixteen colours, for the palette formats.
TPicture SixteenColours() {
  TPicture picture{kWidth, kHeight, {}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int level = (x / 3 + y) % 16;
      picture.Pixels.push_back(level % 4 == 3 ? Colour(level * 17, 40, 255 - level * 17) : Colour(level * 17, level * 17, level * 17));
    }
  return picture;
}

TPicture BlackAndWhite() {
  TPicture picture{kWidth, kHeight, {}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) picture.Pixels.push_back((x * x + y) % 3 == 0 ? 0 : 0xFFFFFF);
  return picture;
}

uint32_t Over(uint32_t colour, uint32_t alpha) { return (colour * alpha + 255 * (255 - alpha)) / 255; }

// `picture` with alpha in each colour's top byte laid over white, as the loader does.
TPicture OnWhite(const TPicture& picture) {
  TPicture white = picture;
  for (uint32_t& pixel : white.Pixels) {
    const uint32_t alpha = pixel >> 24;
    pixel = Over(pixel >> 16 & 0xFF, alpha) << 16 | Over(pixel >> 8 & 0xFF, alpha) << 8 | Over(pixel & 0xFF, alpha);
  }
  return white;
}

// ManyColours with an alpha that runs through every value.
TPicture Translucent() {
  TPicture picture = ManyColours();
  for (size_t i = 0; i < picture.Pixels.size(); ++i) picture.Pixels[i] |= static_cast<uint32_t>((i * 13) % 256) << 24;
  return picture;
}

TPngPicture Png(const TPicture& picture, TPngColourType type) {
  TPngPicture png{picture.Width, picture.Height, type, {}, {}, {}};
  for (const uint32_t pixel : picture.Pixels) {
    const auto red = static_cast<uint8_t>(pixel & 0xFF);
    switch (type) {
      case TPngColourType::Grey: png.Samples.push_back(red); break;
      case TPngColourType::GreyAlpha: png.Samples.insert(png.Samples.end(), {red, static_cast<uint8_t>(pixel >> 24)}); break;
      case TPngColourType::Rgb:
      case TPngColourType::Rgba:
        png.Samples.insert(png.Samples.end(), {red, static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel >> 16)});
        if (type == TPngColourType::Rgba) png.Samples.push_back(static_cast<uint8_t>(pixel >> 24));
        break;
      case TPngColourType::Palette: break;
    }
  }
  return png;
}

// Grey levels of ManyColours (its red), with and without alpha.
TPicture Greys(const TPicture& picture, bool keepAlpha) {
  TPicture grey = picture;
  for (uint32_t& pixel : grey.Pixels) {
    const uint32_t level = pixel & 0xFF;
    pixel = (keepAlpha ? pixel & 0xFF000000 : 0) | level << 16 | level << 8 | level;
  }
  return grey;
}

// A palette PNG of SixteenColours whose entries have alphas of their own (tRNS).
TPictureCase PalettePngWithAlpha() {
  const TPicture colours = SixteenColours();
  TPngPicture png{kWidth, kHeight, TPngColourType::Palette, {}, {}, {}};
  std::vector<uint32_t> palette;
  TPicture withAlpha = colours;
  for (size_t i = 0; i < colours.Pixels.size(); ++i) {
    const uint32_t pixel = colours.Pixels[i];
    size_t index = 0;
    while (index < palette.size() && palette[index] != pixel) ++index;
    if (index == palette.size()) {
      palette.push_back(pixel);
      png.Palette.insert(png.Palette.end(), {static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                                             static_cast<uint8_t>(pixel >> 16)});
      png.Alpha.push_back(static_cast<uint8_t>(255 - index * 17));
    }
    png.Samples.push_back(static_cast<uint8_t>(index));
    withAlpha.Pixels[i] |= static_cast<uint32_t>(png.Alpha[index]) << 24;
  }
  return {"palette PNG with tRNS", EncodePng(png), OnWhite(withAlpha)};
}

// A bitmap's fourth byte without an alpha mask: anything, and no alpha.
TPicture WithFourthByte(const TPicture& picture) {
  TPicture filled = picture;
  for (size_t i = 0; i < filled.Pixels.size(); ++i) filled.Pixels[i] |= static_cast<uint32_t>((i * 29 + 7) % 256) << 24;
  return filled;
}

const char* RuleName(TDotRule rule) { return DotRuleName(rule); }

}  // namespace

std::vector<TPictureCase> PictureCases() {
  const TPicture many = ManyColours();
  const TPicture sixteen = SixteenColours();
  const TPicture twoTone = BlackAndWhite();
  const TPicture translucent = Translucent();
  constexpr std::array<uint32_t, 4> kArgbMasks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
  return {
      {"RGB PNG", EncodePng(Png(many, TPngColourType::Rgb)), many},
      {"RGBA PNG", EncodePng(Png(translucent, TPngColourType::Rgba)), OnWhite(translucent)},
      {"grey PNG", EncodePng(Png(many, TPngColourType::Grey)), Greys(many, false)},
      {"grey and alpha PNG", EncodePng(Png(translucent, TPngColourType::GreyAlpha)), OnWhite(Greys(translucent, true))},
      PalettePngWithAlpha(),
      {"24-bit bitmap", EncodeBmp(many, {}), many},
      {"24-bit bitmap top-down", EncodeBmp(many, {24, true, TBmpCompression::Rgb, {}}), many},
      {"32-bit bitmap without an alpha mask", EncodeBmp(WithFourthByte(many), {32, false, TBmpCompression::Rgb, {}}), many},
      {"32-bit bitmap with an alpha mask", EncodeBmp(translucent, {32, false, TBmpCompression::BitFields, kArgbMasks}),
       OnWhite(translucent)},
      {"8-bit bitmap", EncodeBmp(sixteen, {8, false, TBmpCompression::Rgb, {}}), sixteen},
      {"8-bit bitmap RLE", EncodeBmp(sixteen, {8, false, TBmpCompression::Rle8, {}}), sixteen},
      {"4-bit bitmap top-down", EncodeBmp(sixteen, {4, true, TBmpCompression::Rgb, {}}), sixteen},
      {"1-bit bitmap", EncodeBmp(twoTone, {1, false, TBmpCompression::Rgb, {}}), twoTone},
  };
}

std::vector<uint8_t> PackedUnder(const std::string& path, TDotRule rule, const TPictureLoader& load) {
  TLogoSettings settings;
  settings.Dots = rule;
  return BuildLogoSet({path}, settings, load).Bytes;
}

std::vector<std::string> PackedCaseLines(const std::string& folder, const TPictureLoader& load) {
  std::vector<std::string> lines;
  const std::string path = folder + "/picture";
  for (const TPictureCase& picture : PictureCases()) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << picture.File;
    const std::optional<TPicture> loaded = load(path);
    for (const TDotRule rule : kDotRules) {
      std::string line = picture.Name + "\t" + RuleName(rule) + "\t";
      if (!loaded || loaded->Width == 0) {
        lines.push_back(line + "unreadable");
        continue;
      }
      for (const uint8_t byte : PackedUnder(path, rule, load)) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", byte);
        line += hex;
      }
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace printset
