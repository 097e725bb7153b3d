#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "logo/DotRules.h"
#include "logo/LogoSet.h"

namespace printset {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

uint32_t Grey(uint32_t level) { return level * 0x010101u; }
// Colours as 0xBBGGRR from their red, green and blue.
uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return blue << 16 | green << 8 | red; }

TPicture Filled(int width, int height, uint32_t colour) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), colour)};
}

// Floyd-Steinberg as the textbook writes it, on a whole grid of errors: luma in
// thousandths, each error handed on as 7/16 right, 3/16 below left, 5/16 below and what
// is left of it below right, the first three shares rounded down, nothing past the edges.
std::vector<uint8_t> TextbookFloydSteinberg(const TPicture& picture, int32_t threshold) {
  const int width = picture.Width;
  const int height = picture.Height;
  std::vector<int64_t> carried(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  std::vector<uint8_t> dots(carried.size(), 0);
  const auto sixteenths = [](int64_t error, int64_t share) {
    const int64_t scaled = error * share;
    return scaled >= 0 ? scaled / 16 : -((-scaled + 15) / 16);
  };
  const auto add = [&](int x, int y, int64_t share) {
    if (x >= 0 && x < width && y < height) carried[static_cast<size_t>(y * width + x)] += share;
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t i = static_cast<size_t>(y * width + x);
      const uint32_t colour = picture.Pixels[i];
      const int64_t luma = 299 * (colour & 0xFF) + 587 * ((colour >> 8) & 0xFF) + 114 * ((colour >> 16) & 0xFF);
      const int64_t value = luma + carried[i];
      dots[i] = value < 1000 * threshold ? 1 : 0;
      const int64_t error = dots[i] ? value : value - 255000;
      const int64_t right = sixteenths(error, 7), belowLeft = sixteenths(error, 3), below = sixteenths(error, 5);
      add(x + 1, y, right);
      add(x - 1, y + 1, belowLeft);
      add(x, y + 1, below);
      add(x + 1, y + 1, error - right - belowLeft - below);
    }
  return dots;
}

// Dots as rows of '#' (prints) and '.', a '/' after each row.
std::string Drawn(const std::vector<uint8_t>& dots, int width) {
  std::string text;
  for (size_t i = 0; i < dots.size(); ++i) {
    text += dots[i] ? '#' : '.';
    if ((i + 1) % static_cast<size_t>(width) == 0) text += '/';
  }
  return text;
}

double Density(const std::vector<uint8_t>& dots, int width, int left, int top, int size) {
  int count = 0;
  for (int y = top; y < top + size; ++y)
    for (int x = left; x < left + size; ++x) count += dots[static_cast<size_t>(y * width + x)];
  return static_cast<double>(count) / (size * size);
}

TEST(DotRules, LumaAndClassicJudgeGreysAndPureColours) {
  // Y = 0.299 R + 0.587 G + 0.114 B, worked out by hand; classic looks at blue alone.
  struct TRow {
    const char* Name;
    uint32_t Colour;
    bool LumaAt128;  // Y < 128
    bool LumaAt200;  // Y < 200
    bool ClassicAt128;
    bool ClassicAt200;
  };
  const TRow rows[] = {
      {"black", kBlack, true, true, true, true},
      {"grey 127", Grey(127), true, true, true, true},
      {"grey 128", Grey(128), false, true, false, true},
      {"grey 199", Grey(199), false, true, false, true},
      {"grey 200", Grey(200), false, false, false, false},
      {"white", kWhite, false, false, false, false},
      {"red, Y 76.2", Rgb(255, 0, 0), true, true, true, true},
      {"green, Y 149.7", Rgb(0, 255, 0), false, true, true, true},
      {"blue, Y 29.1", Rgb(0, 0, 255), true, true, false, false},
      {"yellow, Y 225.9", Rgb(255, 255, 0), false, false, true, true},
      {"cyan, Y 178.8", Rgb(0, 255, 255), false, true, false, false},
      {"magenta, Y 105.3", Rgb(255, 0, 255), true, true, false, false},
      // 0.299 x 100 + 0.587 x 200 + 0.114 x 150 = 164.4: between the two thresholds.
      {"(100, 200, 150), Y 164.4", Rgb(100, 200, 150), false, true, false, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TPicture picture = Filled(1, 1, row.Colour);
    EXPECT_EQ(PictureDots(picture, TDotRule::Luma, 128)[0], row.LumaAt128 ? 1 : 0);
    EXPECT_EQ(PictureDots(picture, TDotRule::Luma, 200)[0], row.LumaAt200 ? 1 : 0);
    EXPECT_EQ(PictureDots(picture, TDotRule::Classic, 128)[0], row.ClassicAt128 ? 1 : 0);
    EXPECT_EQ(PictureDots(picture, TDotRule::Classic, 200)[0], row.ClassicAt200 ? 1 : 0);
  }
}

TEST(DotRules, BlackAndWhitePicturesGiveTheSameBytesUnderEveryRule) {
  std::mt19937 random(18);
  TPicture picture{37, 21, {}};
  for (int i = 0; i < picture.Width * picture.Height; ++i) picture.Pixels.push_back(random() % 3 == 0 ? kBlack : kWhite);
  std::vector<uint8_t> expected;
  for (const uint32_t colour : picture.Pixels) expected.push_back(colour == kBlack ? 1 : 0);
  TLogoSettings classic;
  const std::vector<uint8_t> classicSet =
      BuildLogoSet({"p"}, classic, [&](const std::string&) { return picture; }).Bytes;
  for (const TDotRule rule : kDotRules) {
    for (const int32_t threshold : {1, 128, 255}) {
      SCOPED_TRACE(std::string(DotRuleName(rule)) + " at " + std::to_string(threshold));
      EXPECT_EQ(PictureDots(picture, rule, threshold), expected);
      TLogoSettings settings;
      settings.Dots = rule;
      settings.Threshold = threshold;
      EXPECT_EQ(BuildLogoSet({"p"}, settings, [&](const std::string&) { return picture; }).Bytes, classicSet);
    }
  }
}

TEST(DotRules, DitheredGreysKeepTheirDensityEverywhere) {
  // An even grey of luma g prints on 1 - g/255 of its dots, and every part of it alike:
  // no streaks, no drift of the error down the picture. Atkinson passes on only 6/8 of
  // each error, so it keeps mid-grey but darkens dark greys and lightens light ones.
  constexpr int kSize = 128;
  constexpr int kTile = 16;
  struct TRow {
    TDotRule Rule;
    uint32_t Level;
    double Tolerance;
  };
  const TRow rows[] = {
      {TDotRule::FloydSteinberg, 64, 0.02}, {TDotRule::FloydSteinberg, 128, 0.02}, {TDotRule::FloydSteinberg, 192, 0.02},
      {TDotRule::Ordered, 64, 0.02},        {TDotRule::Ordered, 128, 0.02},        {TDotRule::Ordered, 192, 0.02},
      {TDotRule::Atkinson, 64, 0.1},        {TDotRule::Atkinson, 128, 0.02},       {TDotRule::Atkinson, 192, 0.1},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(std::string(DotRuleName(row.Rule)) + ", grey " + std::to_string(row.Level));
    const std::vector<uint8_t> dots = PictureDots(Filled(kSize, kSize, Grey(row.Level)), row.Rule, 128);
    const double whole = Density(dots, kSize, 0, 0, kSize);
    EXPECT_NEAR(whole, 1.0 - row.Level / 255.0, row.Tolerance);
    for (int top = 0; top < kSize; top += kTile)
      for (int left = 0; left < kSize; left += kTile)
        EXPECT_NEAR(Density(dots, kSize, left, top, kTile), whole, 0.08) << "tile at " << left << ", " << top;
  }
}

TEST(DotRules, FloydSteinbergHandsOnEveryErrorAsTheTextbookDoes) {
  // A ramp whose answer is known, a flat grey where a share lost to rounding tips dots
  // over, and random greys with colours: dot for dot as the textbook diffusion.
  TPicture ramp{4, 4, {}};
  for (int y = 0; y < 4; ++y)
    for (const uint32_t level : {29u, 50u, 71u, 92u}) ramp.Pixels.push_back(Grey(level));
  TPicture speckled{23, 17, {}};
  std::mt19937 random(24);
  for (int i = 0; i < 23 * 17; ++i) speckled.Pixels.push_back(random() & 0xFFFFFF);
  struct TRow {
    const char* Name;
    TPicture Picture;
    int32_t Threshold;
    std::string Known;  // empty: only compared with the textbook
  };
  const TRow rows[] = {
      {"4 x 4 ramp of greys 29, 50, 71, 92", ramp, 128, "###./##.#/####/#.#./"},
      {"8 x 8 of grey 52", Filled(8, 8, Grey(52)), 128, ""},
      {"23 x 17 random colours", speckled, 128, ""},
      {"23 x 17 random colours, threshold 60", speckled, 60, ""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::vector<uint8_t> dots = PictureDots(row.Picture, TDotRule::FloydSteinberg, row.Threshold);
    const std::string drawn = Drawn(dots, row.Picture.Width);
    EXPECT_EQ(drawn, Drawn(TextbookFloydSteinberg(row.Picture, row.Threshold), row.Picture.Width));
    if (!row.Known.empty()) {
      EXPECT_EQ(drawn, row.Known);
    }
  }
}

TEST(DotRules, OrderedGreysFromWhiteToBlackPrintOneMoreCellAtATime) {
  // Every cell of the 8 x 8 matrix has its own step: as an even grey darkens, a tile
  // gains its dots one by one, keeping those it had, from none for white to all 64.
  std::vector<uint8_t> lighter(64, 0);
  std::set<int> counts;
  for (int level = 255; level >= 0; --level) {
    SCOPED_TRACE("grey " + std::to_string(level));
    const TPicture grey = Filled(8, 8, Grey(static_cast<uint32_t>(level)));
    const std::vector<uint8_t> dots = PictureDots(grey, TDotRule::Ordered, 128);
    int count = 0;
    for (size_t i = 0; i < dots.size(); ++i) {
      count += dots[i];
      EXPECT_GE(dots[i], lighter[i]) << "cell " << i;
    }
    EXPECT_TRUE(counts.empty() || count - *counts.rbegin() <= 1) << count << " dots after " << *counts.rbegin();
    counts.insert(count);
    lighter = dots;
  }
  EXPECT_EQ(counts.size(), 65u);
  EXPECT_EQ(*counts.begin(), 0);
  EXPECT_EQ(*counts.rbegin(), 64);
}

TEST(DotRules, OrderedMidGreyPrintsHalfOfEveryBayerCell) {
  // Grey 128 against 128: the cells 32 to 63 of the matrix print, in every 8 x 8 block,
  // and no two neighbours in a row or column both print.
  const std::vector<uint8_t> dots = PictureDots(Filled(16, 16, Grey(128)), TDotRule::Ordered, 128);
  for (int top = 0; top < 16; top += 8)
    for (int left = 0; left < 16; left += 8) EXPECT_EQ(Density(dots, 16, left, top, 8), 0.5);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x + 1 < 16; ++x) {
      EXPECT_FALSE(dots[static_cast<size_t>(y * 16 + x)] && dots[static_cast<size_t>(y * 16 + x + 1)]);
      EXPECT_FALSE(dots[static_cast<size_t>(x * 16 + y)] && dots[static_cast<size_t>((x + 1) * 16 + y)]);
    }
}

}  // namespace
}  // namespace printset
