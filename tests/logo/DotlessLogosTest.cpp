#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "logo/DotlessLogos.h"
#include "logo/LogoSet.h"

namespace printset::dotless_logos {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// Colours as 0xBBGGRR from their red, green and blue.
uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return blue << 16 | green << 8 | red; }

TPicture Filled(int width, int height, uint32_t colour) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * static_cast<size_t>(height), colour)};
}

// The pictures of the table, served by name; unknown names do not exist.
std::map<std::string, TPicture> Pictures() {
  std::map<std::string, TPicture> pictures;
  pictures["black"] = Filled(8, 8, kBlack);
  // Navy text on white: blue 128 is not below 128, so classic loses all of it.
  TPicture navy = Filled(16, 8, kWhite);
  for (int x = 2; x < 14; ++x) navy.Pixels[static_cast<size_t>(3 * 16 + x)] = Rgb(0, 0, 128);
  pictures["navy"] = navy;
  // White to navy from left to right: blue never falls below 128.
  TPicture gradient = Filled(16, 8, kWhite);
  for (int y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 16; ++x)
      gradient.Pixels[static_cast<size_t>(y * 16) + x] = Rgb(255 - 17 * x, 255 - 17 * x, 255 - (127 * x) / 15);
  pictures["gradient"] = gradient;
  pictures["grey128"] = Filled(8, 8, 0x808080);  // luma and blue both exactly 128
  pictures["white"] = Filled(8, 8, kWhite);
  pictures["yellow"] = Filled(8, 8, Rgb(255, 255, 0));  // no blue; luma 226
  // One dot, the picture's last: a logo with a dot anywhere has one.
  TPicture lastDot = Filled(16, 16, kWhite);
  lastDot.Pixels.back() = kBlack;
  pictures["last-dot"] = lastDot;
  return pictures;
}

TEST(DotlessLogos, NamesEveryLogoWithoutADotAndWhetherLumaWouldPrintIt) {
  const std::map<std::string, TPicture> pictures = Pictures();
  const TPictureLoader load = [&](const std::string& path) -> std::optional<TPicture> {
    const auto found = pictures.find(path);
    if (found == pictures.end()) return std::nullopt;
    return found->second;
  };
  const std::vector<std::string> all = {"black", "navy", "gradient", "grey128", "white", "yellow", "last-dot"};
  struct TRow {
    TDotRule Rule;
    int32_t Threshold;
    std::vector<std::string> Paths;
    std::vector<std::pair<int, bool>> Dotless;  // index, luma prints it
  };
  const TRow rows[] = {
      {TDotRule::Classic, 128, all, {{1, true}, {2, true}, {3, false}, {4, false}}},
      // Under luma itself there is nothing to suggest.
      {TDotRule::Luma, 128, all, {{3, false}, {4, false}, {5, false}}},
      {TDotRule::Classic, 200, all, {{4, false}}},
      {TDotRule::FloydSteinberg, 128, {"white", "navy", "black"}, {{0, false}}},
      {TDotRule::Classic, 128, {"black", "last-dot"}, {}},
      // A set that stopped short is no set: nothing is said of it.
      {TDotRule::Classic, 128, {"white", "missing"}, {}},
  };
  for (const TRow& row : rows) {
    TLogoSettings settings;
    settings.Dots = row.Rule;
    settings.Threshold = row.Threshold;
    const TLogoSetResult set = BuildLogoSet(row.Paths, settings, load);
    std::vector<std::pair<int, bool>> found;
    for (const TDotlessLogo& logo : FindDotlessLogos(set.Bytes, row.Paths, settings, load))
      found.emplace_back(logo.Index, logo.LumaPrints);
    EXPECT_EQ(found, row.Dotless) << DotRuleName(row.Rule) << " at " << row.Threshold << ", " << row.Paths.size()
                                  << " pictures";
  }
}

TEST(DotlessLogos, TheTextNamesTheLogoByPlaceAndName) {
  EXPECT_EQ(DotlessLogoText({1, true}, "navy.png", TDotRule::Classic),
            "logo 2 (navy.png) has no dot under the classic rule: nothing of it will print; "
            "the luma rule keeps its shapes");
  EXPECT_EQ(DotlessLogoText({0, false}, "pics/white.bmp", TDotRule::Ordered),
            "logo 1 (pics/white.bmp) has no dot under the ordered rule: nothing of it will print");
}

}  // namespace
}  // namespace printset::dotless_logos
