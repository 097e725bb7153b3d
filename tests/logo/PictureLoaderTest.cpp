#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "HandMadePng.h"
#include "logo/PictureLoader.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset::picture_loader {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey127 = 0x7F7F7F;
constexpr uint32_t kGrey128 = 0x808080;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

// 13 × 5 so that every depth's rows need padding to whole 4-byte words.
TPicture Reference() {
  const uint32_t colours[] = {kBlack, kWhite, kGrey127, kGrey128, kRed, kBlue};
  TPicture picture{13, 5, {}};
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) picture.Pixels.push_back(colours[(x * x + 3 * y) % 6]);
  return picture;
}

std::vector<uint8_t> Packed(const TPicture& picture) {
  return BuildLogoSet({"p"}, TLogoSettings{}, [&](const std::string&) { return picture; }).Bytes;
}

std::optional<TPicture> LoadBmp(const TTempDir& folder, const TPicture& picture, const TBmpOptions& options) {
  const std::string path = folder.File("picture.bmp");
  WriteTextFile(path, EncodeBmp(picture, options));
  return LoadPicture(path, SystemPictureDecoder());
}

struct TVariant {
  const char* Name;
  TBmpOptions Options;
};

TEST(PictureLoader, EveryExactBitmapVariantGivesTheSamePicture) {
  const TVariant variants[] = {
      {"4 bits", {4, false, TBmpCompression::Rgb, {}}},
      {"4 bits top-down", {4, true, TBmpCompression::Rgb, {}}},
      {"4 bits RLE", {4, false, TBmpCompression::Rle4, {}}},
      {"8 bits", {8, false, TBmpCompression::Rgb, {}}},
      {"8 bits top-down", {8, true, TBmpCompression::Rgb, {}}},
      {"8 bits RLE", {8, false, TBmpCompression::Rle8, {}}},
      {"24 bits", {24, false, TBmpCompression::Rgb, {}}},
      {"24 bits top-down", {24, true, TBmpCompression::Rgb, {}}},
      {"32 bits, fourth byte 0", {32, false, TBmpCompression::Rgb, {}}},
      {"32 bits top-down", {32, true, TBmpCompression::Rgb, {}}},
      {"32 bits, bit fields", {32, false, TBmpCompression::BitFields, {0xFF0000, 0xFF00, 0xFF, 0}}},
  };
  TTempDir folder;
  const TPicture reference = Reference();
  for (const TVariant& variant : variants) {
    SCOPED_TRACE(variant.Name);
    const std::optional<TPicture> loaded = LoadBmp(folder, reference, variant.Options);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->Width, reference.Width);
    EXPECT_EQ(loaded->Height, reference.Height);
    EXPECT_EQ(loaded->Pixels, reference.Pixels);
    EXPECT_EQ(Packed(*loaded), Packed(reference));
  }
}

TEST(PictureLoader, SixteenBitBitmapsKeepTheDotsDespiteFewerColourBits) {
  // Five or six bits per component cannot hold 127 and 128 exactly; the colours come
  // back close, and on the same side of the dot threshold.
  const TVariant variants[] = {
      {"16 bits 5-5-5", {16, false, TBmpCompression::Rgb, {}}},
      {"16 bits 5-5-5 top-down", {16, true, TBmpCompression::Rgb, {}}},
      {"16 bits 5-6-5 bit fields", {16, false, TBmpCompression::BitFields, {0xF800, 0x07E0, 0x001F, 0}}},
  };
  TTempDir folder;
  const TPicture reference = Reference();
  for (const TVariant& variant : variants) {
    SCOPED_TRACE(variant.Name);
    const std::optional<TPicture> loaded = LoadBmp(folder, reference, variant.Options);
    ASSERT_TRUE(loaded.has_value());
    ASSERT_EQ(loaded->Pixels.size(), reference.Pixels.size());
    for (size_t i = 0; i < reference.Pixels.size(); ++i)
      for (int shift : {0, 8, 16}) {
        const int got = static_cast<int>((loaded->Pixels[i] >> shift) & 0xFF);
        const int expected = static_cast<int>((reference.Pixels[i] >> shift) & 0xFF);
        EXPECT_NEAR(got, expected, 7) << "pixel " << i;
      }
    EXPECT_EQ(Packed(*loaded), Packed(reference));
  }
}

TEST(PictureLoader, OneBitBitmapUsesItsPalette) {
  TPicture picture{13, 5, {}};
  for (int i = 0; i < 13 * 5; ++i) picture.Pixels.push_back(i % 3 == 0 ? kBlack : kWhite);
  TTempDir folder;
  for (bool topDown : {false, true}) {
    const std::optional<TPicture> loaded = LoadBmp(folder, picture, {1, topDown, TBmpCompression::Rgb, {}});
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->Pixels, picture.Pixels) << "top-down " << topDown;
  }
}

QImage ToQImage(const TPicture& picture, QImage::Format format) {
  QImage image(picture.Width, picture.Height, format);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t c = picture.Pixels[static_cast<size_t>(y * picture.Width + x)];
      image.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
  return image;
}

TEST(PictureLoader, OtherFormatsAreReadByContent) {
  TTempDir folder;
  const TPicture reference = Reference();
  const std::string png = folder.File("picture.png");
  ASSERT_TRUE(ToQImage(reference, QImage::Format_RGB32).save(QString::fromStdString(png), "PNG"));
  std::optional<TPicture> loaded = LoadPicture(png, SystemPictureDecoder());
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->Pixels, reference.Pixels);

  // A bitmap under another name is still a bitmap.
  const std::string misnamed = folder.File("really-a-bitmap.png");
  WriteTextFile(misnamed, EncodeBmp(reference, {}));
  loaded = LoadPicture(misnamed, SystemPictureDecoder());
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->Pixels, reference.Pixels);
}

std::string Saved(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format)) << format;
  return bytes.toStdString();
}

// Where a bitmap's pixels start: the offset word of its file header.
size_t PixelDataOffset(const std::string& bmp) {
  size_t offset = 0;
  for (int i = 3; i >= 0; --i) offset = offset << 8 | static_cast<unsigned char>(bmp[10 + static_cast<size_t>(i)]);
  return offset;
}

TEST(PictureLoader, FileCutShortIsInvalidNeverFilledUp) {
  // 8 x 4, left half black on a white ground, written by hand: Qt writes no GIF.
  const std::string gif(
      "GIF89a\x08\x00\x04\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00"
      "\x2C\x00\x00\x00\x00\x08\x00\x04\x00\x00\x02\x13\x4C\x98\x10\x20\xC0\x84\x09\x01\x02\x4C\x98\x10\x20"
      "\xC0\x84\x09\x01\x02\x05\x00\x3B",
      52);
  const TPicture reference = Reference();
  const QImage image = ToQImage(reference, QImage::Format_RGB32);
  const std::string bmp24 = EncodeBmp(reference, {});
  const std::string rle8 = EncodeBmp(reference, {8, false, TBmpCompression::Rle8, {}});
  const std::string rle4 = EncodeBmp(reference, {4, false, TBmpCompression::Rle4, {}});
  const std::string jpeg = Saved(image, "JPEG");
  const std::string png = Saved(image, "PNG");
  struct TRow {
    const char* Name;
    std::string Whole;
    size_t CutTo;
    int Width;
    int Height;
  };
  const size_t stride24 = 40;  // 13 x 3 bytes, padded to whole words
  const TRow rows[] = {
      {"24-bit bitmap, last row one pixel byte short", bmp24, bmp24.size() - 2, 13, 5},  // and its padding byte
      {"24-bit bitmap, last row missing", bmp24, bmp24.size() - stride24, 13, 5},
      {"24-bit bitmap cut inside its first pixel row", bmp24, PixelDataOffset(bmp24) + 5, 13, 5},
      {"RLE8 bitmap without its end and last line end", rle8, rle8.size() - 4, 13, 5},
      {"RLE4 bitmap cut inside a run", rle4, rle4.size() - 7, 13, 5},
      {"JPEG cut inside its scan", jpeg, jpeg.size() * 9 / 10, 13, 5},
      {"PNG cut inside its data", png, png.size() * 9 / 10, 13, 5},
      {"GIF cut inside its image data", gif, 40, 8, 4},
      {"GIF cut before its colour table ends", gif, 16, 8, 4},
  };
  TTempDir folder;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    WriteTextFile(folder.File("whole"), row.Whole);
    const std::optional<TPicture> whole = LoadPicture(folder.File("whole"), SystemPictureDecoder());
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->Width, row.Width);
    EXPECT_EQ(whole->Height, row.Height);
    WriteTextFile(folder.File("cut"), row.Whole.substr(0, row.CutTo));
    const std::optional<TPicture> cut = LoadPicture(folder.File("cut"), SystemPictureDecoder());
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(cut->Width, 0) << "a picture " << row.CutTo << " of " << row.Whole.size() << " bytes long";
  }
}

TEST(PictureLoader, TransparentPicturesAreLaidOverWhite) {
  // Four pixels in every format: transparent black, opaque black, black at alpha 128,
  // and a last pixel at alpha 64. Over white, c' = (c a + 255 (255 - a)) / 255:
  // 255 x 127 / 255 = 127, and for a component c at alpha 64, (64 c + 48705) / 255.
  const std::vector<uint32_t> overWhite = {kWhite, kBlack, 0x7F7F7F, 0xBFBFFF};  // red: 255, 191, 191
  constexpr uint32_t kOpaque = 0xFF000000;
  const TPicture withAlpha{4, 1, {0x00000000, kOpaque | kBlack, 0x80000000, 0x400000FF}};
  struct TRow {
    const char* Name;
    std::string File;
    std::vector<uint32_t> Expected;
  };
  const TRow rows[] = {
      {"RGBA PNG", EncodePng({4, 1, TPngColourType::Rgba, {0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 128, 255, 0, 0, 64}, {}, {}}),
       overWhite},
      // Grey 200 at alpha 64: (12800 + 48705) / 255 = 241.
      {"grey and alpha PNG", EncodePng({4, 1, TPngColourType::GreyAlpha, {0, 0, 0, 255, 0, 128, 200, 64}, {}, {}}),
       {kWhite, kBlack, 0x7F7F7F, 0xF1F1F1}},
      {"palette PNG with tRNS",
       EncodePng({4, 1, TPngColourType::Palette, {0, 1, 2, 3}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0}, {0, 255, 128, 64}}),
       overWhite},
      {"32-bit bitmap with an alpha mask",
       EncodeBmp(withAlpha, {32, false, TBmpCompression::BitFields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}}), overWhite},
      // Without an alpha mask the fourth byte is no alpha, whatever it holds.
      {"32-bit bitmap, fourth byte not alpha", EncodeBmp(withAlpha, {32, false, TBmpCompression::Rgb, {}}),
       {kBlack, kBlack, kBlack, kRed}},
      {"opaque RGB PNG", EncodePng({4, 1, TPngColourType::Rgb, {0, 0, 0, 0, 0, 0, 127, 127, 127, 255, 0, 0}, {}, {}}),
       {kBlack, kBlack, kGrey127, kRed}},
  };
  TTempDir folder;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    WriteTextFile(folder.File("picture"), row.File);
    const std::optional<TPicture> loaded = LoadPicture(folder.File("picture"), SystemPictureDecoder());
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->Pixels, row.Expected);
  }
}

TEST(PictureLoader, ABarOnATransparentGroundPacksAsOnWhite) {
  // 64 x 32, a black bar over rows 12 to 19, the rest transparent black.
  TPngPicture transparent{64, 32, TPngColourType::Rgba, std::vector<uint8_t>(64 * 32 * 4, 0), {}, {}};
  TPicture onWhite{64, 32, std::vector<uint32_t>(64 * 32, kWhite)};
  for (int y = 12; y < 20; ++y)
    for (int x = 0; x < 64; ++x) {
      transparent.Samples[static_cast<size_t>((y * 64 + x) * 4 + 3)] = 255;
      onWhite.Pixels[static_cast<size_t>(y * 64 + x)] = kBlack;
    }
  TTempDir folder;
  WriteTextFile(folder.File("bar.png"), EncodePng(transparent));
  const std::optional<TPicture> loaded = LoadPicture(folder.File("bar.png"), SystemPictureDecoder());
  ASSERT_TRUE(loaded.has_value());
  const std::vector<uint8_t> packed = Packed(*loaded);
  EXPECT_EQ(packed, Packed(onWhite));
  ASSERT_EQ(packed.size(), 3u + 4 + 8 * 32);
  EXPECT_EQ(std::count(packed.begin(), packed.end(), 0xFF), 8 * 8) << "eight rows of eight black bytes";
}

TEST(PictureLoader, WhatIsNotAPictureFile) {
  TTempDir folder;
  EXPECT_FALSE(LoadPicture(folder.File("missing.bmp"), SystemPictureDecoder()).has_value());
  std::filesystem::create_directory(folder.File("folder.bmp"));
  EXPECT_FALSE(LoadPicture(folder.File("folder.bmp"), SystemPictureDecoder()).has_value());

  const char bitmapStart[] = "BM\x10\0\0\0garbage";
  for (const std::string& content : {std::string(), std::string("this is not a picture at all\n"),
                                     std::string(bitmapStart, sizeof bitmapStart - 1)}) {
    WriteTextFile(folder.File("bad.bmp"), content);
    const std::optional<TPicture> loaded = LoadPicture(folder.File("bad.bmp"), SystemPictureDecoder());
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->Width, 0);
  }
}

}  // namespace
}  // namespace printset::picture_loader
