#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "logo/DotBitmap.h"
#include "logo/LogoSet.h"
#include "logo/LogoSetReader.h"

namespace printset::logo_set_reader {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

TPicture Speckled(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  TPicture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) picture.Pixels.push_back(random() % 2 ? kBlack : kWhite);
  return picture;
}

TEST(LogoSetReader, ReadsBackWhatWasPackedDotForDot) {
  const std::vector<TPicture> pictures = {Speckled(13, 5, 1), Speckled(8, 1, 2), Speckled(30, 17, 3)};
  std::vector<std::string> names;
  for (size_t i = 0; i < pictures.size(); ++i) names.push_back(std::to_string(i));
  const TLogoSetResult packed = BuildLogoSet(names, TLogoSettings{}, [&](const std::string& name) {
    return pictures[std::stoul(name)];
  });
  ASSERT_TRUE(packed.Complete);
  const TLogoSetContents contents = ReadLogoSet(packed.Bytes);
  ASSERT_EQ(contents.Reason, "");
  ASSERT_EQ(contents.Logos.size(), pictures.size());
  const TDotBitmap image = DrawLogos(packed.Bytes, contents.Logos);
  ASSERT_EQ(image.Width, 32);
  ASSERT_EQ(image.Height, 8 + 8 + 8 + 8 + 24);  // three logos, two gaps of a band
  int top = 0;
  for (size_t i = 0; i < pictures.size(); ++i) {
    const TPicture& picture = pictures[i];
    const TPackedLogo& logo = contents.Logos[i];
    SCOPED_TRACE("logo " + std::to_string(i + 1));
    // Whole bytes and bands; the picture centred, an odd blank dot or row right or below.
    const int width = (picture.Width + 7) / 8 * 8;
    const int height = (picture.Height + 7) / 8 * 8;
    EXPECT_EQ(logo.Width(), width);
    EXPECT_EQ(logo.Height, height);
    EXPECT_EQ(logo.Size(), 4 + width / 8 * height);
    const int left = (width - picture.Width) / 2;
    const int above = (height - picture.Height) / 2;
    for (int y = 0; y < height + (i + 1 < pictures.size() ? kLogoGapRows : 0); ++y)
      for (int x = 0; x < image.Width; ++x) {
        const int px = x - left;
        const int py = y - above;
        const bool black = px >= 0 && px < picture.Width && py >= 0 && py < picture.Height &&
                           picture.Pixels[static_cast<size_t>(py * picture.Width + px)] == kBlack;
        if (y < height && x < width) {
          ASSERT_EQ(logo.Dot(packed.Bytes, x, y), black) << x << ", " << y;
        }
        ASSERT_EQ(image.Dot(x, top + y), black) << x << ", " << top + y;
      }
    top += height + kLogoGapRows;
  }
}

TEST(LogoSetReader, RefusesWhatIsNoWholeSet) {
  // One logo of 1 byte x 8 rows, then the same with a byte left over, cut short, ...
  const std::vector<uint8_t> good = {0xAA, 0xDD, 1, 1, 0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8};
  auto with = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> bytes = good;
    bytes[at] = value;
    return bytes;
  };
  const std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  std::vector<uint8_t> extra = good;
  extra.push_back(0);
  struct TRow {
    const char* Name;
    std::vector<uint8_t> Bytes;
    const char* Reason;
  };
  const TRow rows[] = {
      {"empty", {}, "shorter than the 3-byte header (0 bytes)"},
      {"two bytes", {0xAA, 0xDD}, "shorter than the 3-byte header"},
      {"wrong marker", with(1, 0xDE), "marker bytes AA DD"},
      {"cut inside the last row", cut, "logo 1 of 1: 8 rows announced, the set ends after 7"},
      {"a byte left over", extra, "1 bytes left over after the 1 logo the count announces"},
      {"count too high", with(2, 2), "logo 2 of 2: the set ends inside its header"},
      {"count too low", with(2, 0), "12 bytes left over after the 0 logos"},
      {"no byte per row", with(3, 0), "logo 1 of 1: no byte per row or no row"},
      {"no band", with(5, 0), "no byte per row or no row"},
      {"rows wider than the row buffer", {0xAA, 0xDD, 1, 0x01, 0x08, 1, 0}, "2049 bytes per row, more than 2048"},
  };
  EXPECT_EQ(ReadLogoSet(good).Reason, "");
  EXPECT_EQ(ReadLogoSet({0xAA, 0xDD, 0}).Reason, "") << "the empty set clears the printer's logos";
  // The widest logo the row buffer takes: 2048 bytes per row, one band of 8 rows.
  std::vector<uint8_t> widest = {0xAA, 0xDD, 1, 0x00, 0x08, 1, 0};
  widest.resize(widest.size() + 2048 * 8, 0x5A);
  const TLogoSetContents widestRead = ReadLogoSet(widest);
  EXPECT_EQ(widestRead.Reason, "");
  ASSERT_EQ(widestRead.Logos.size(), 1u);
  EXPECT_EQ(widestRead.Logos[0].Width(), 2048 * 8);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TLogoSetContents contents = ReadLogoSet(row.Bytes);
    EXPECT_NE(contents.Reason.find(row.Reason), std::string::npos) << contents.Reason;
    EXPECT_TRUE(contents.Logos.empty());
  }
}

}  // namespace
}  // namespace printset::logo_set_reader
