// The preview's bitmap: a logo set's dots shrunk by whole divisors without losing one,
// the whole scale that fits a room, and the logos a set that stopped short still shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logo/DotBitmap.h"
#include "logo/LogoSet.h"
#include "logo/LogoSetReader.h"

namespace printset {
namespace {

// Rows of '#' (a dot) and '.' (none) as a bitmap, and back.
TDotBitmap Bitmap(const std::vector<std::string>& rows) {
  TDotBitmap bitmap;
  bitmap.Width = static_cast<int>(rows.front().size());
  bitmap.Height = static_cast<int>(rows.size());
  bitmap.Bits.assign(static_cast<size_t>(bitmap.RowBytes() * bitmap.Height), 0);
  for (int y = 0; y < bitmap.Height; ++y)
    for (int x = 0; x < bitmap.Width; ++x)
      if (rows[static_cast<size_t>(y)][static_cast<size_t>(x)] == '#')
        bitmap.Bits[static_cast<size_t>(y * bitmap.RowBytes() + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
  return bitmap;
}

std::vector<std::string> Rows(const TDotBitmap& bitmap) {
  std::vector<std::string> rows;
  for (int y = 0; y < bitmap.Height; ++y) {
    rows.emplace_back();
    for (int x = 0; x < bitmap.Width; ++x) rows.back() += bitmap.Dot(x, y) ? '#' : '.';
  }
  return rows;
}

TEST(DotBitmap, ShrinkingKeepsEveryDotInThePixelThatStandsForIt) {
  // 10 x 3: lone dots at the corners and one in the partial last column and row.
  const TDotBitmap dots = Bitmap({"#........#", "..........", "....#....#"});
  struct TRow {
    int Divisor;
    std::vector<std::string> Shrunk;
  };
  const TRow rows[] = {
      {1, {"#........#", "..........", "....#....#"}},
      {0, {"#........#", "..........", "....#....#"}},  // taken as 1
      {2, {"#...#", "..#.#"}},
      {3, {"##.#"}},
      {4, {"###"}},
      {16, {"#"}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Divisor);
    EXPECT_EQ(Rows(ShrinkDots(dots, row.Divisor)), row.Shrunk);
  }
  EXPECT_TRUE(ShrinkDots(TDotBitmap{}, 2).IsNull());
}

TEST(DotBitmap, WholeScaleThatFitsTheRoom) {
  struct TRow {
    int Width, Height, RoomWidth, RoomHeight;
    int Enlarge, Shrink;
  };
  const TRow rows[] = {
      {8, 8, 90, 90, 11, 1},     // enlarged by the smaller of the two whole factors
      {8, 8, 8, 8, 1, 1},        // exactly as it is
      {384, 8, 90, 90, 1, 5},    // 384 / 90 rounded up
      {8, 400, 300, 90, 1, 5},   // the height decides
      {0, 8, 90, 90, 1, 1},      // nothing to fit
      {8, 8, 0, 90, 1, 1},       // no room
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.Width) + " x " + std::to_string(row.Height));
    const TWholeScale scale = FitWhole(row.Width, row.Height, row.RoomWidth, row.RoomHeight);
    EXPECT_EQ(scale.Enlarge, row.Enlarge);
    EXPECT_EQ(scale.Shrink, row.Shrink);
  }
}

TEST(DotBitmap, ASetThatStoppedShortShowsTheLogosBeforeTheFailingEntry) {
  const TPicture black{8, 8, std::vector<uint32_t>(64, 0x000000)};
  TLogoSettings settings;
  settings.LogoSize = 3 + 12 + 12;  // room for two logos of 8 x 8, not for three
  const TLogoSetResult built =
      BuildLogoSet({"a", "b", "c"}, settings, [&](const std::string&) { return black; });
  ASSERT_FALSE(built.Complete);
  ASSERT_EQ(built.FailedIndex, 2);
  EXPECT_EQ(built.Bytes[2], 3) << "the count still announces all three";
  EXPECT_NE(ReadLogoSet(built.Bytes).Reason, "");
  const TLogoSetContents held = ReadBuiltLogos(built);
  EXPECT_EQ(held.Reason, "");
  ASSERT_EQ(held.Logos.size(), 2u);
  EXPECT_EQ(Rows(DrawLogos(built.Bytes, {held.Logos[1]})), std::vector<std::string>(8, "########"));
  EXPECT_EQ(built.Bytes[2], 3) << "the set itself is left as it is";

  TLogoSetResult whole = BuildLogoSet({"a", "b"}, settings, [&](const std::string&) { return black; });
  ASSERT_TRUE(whole.Complete);
  EXPECT_EQ(ReadBuiltLogos(whole).Logos.size(), 2u);
}

}  // namespace
}  // namespace printset
