// The NVRAM page's pure rules on Windows: where the preview draws a logo, and the number
// the THRESHOLD box holds.
#include <gtest/gtest.h>

#include <string>

#include "settings/LogoSettings.h"
#include "ui/win32/DotRuleThresholdWin32.h"
#include "ui/win32/PreviewPlacementWin32.h"

namespace printset::win32 {
namespace {

struct TPlacementRow {
  const char* Name;
  int DotsWidth, DotsHeight, CanvasWidth, CanvasHeight;
  int Enlarge, Shrink;
  TPreviewBox Dots, ScaleText;
};

// Canvases with 3 pixels of paper around the room; "1:N" is 20 x 16 pixels.
constexpr int kMargin = 3;
constexpr int kTextWidth = 20;
constexpr int kTextHeight = 16;

TEST(LogoPreviewPlacement, WholeFactorsCentredAndTheScaleBeneathTheDots) {
  const TPlacementRow rows[] = {
      {"small logo enlarged by the smaller whole factor", 100, 20, 306, 100, 3, 1, {3, 20, 300, 60}, {}},
      {"logo as large as the room drawn one to one", 300, 94, 306, 100, 1, 1, {3, 3, 300, 94}, {}},
      {"wide logo shrunk, the scale at the bottom right", 576, 100, 306, 100, 1, 2, {9, 17, 288, 50},
       {283, 81, kTextWidth, kTextHeight}},
      {"the scale's rows cost a tall logo a larger divisor", 100, 180, 206, 96, 1, 3, {86, 10, 34, 60},
       {183, 77, kTextWidth, kTextHeight}},
      {"a partial square at the edge still drawn", 301, 10, 306, 100, 1, 2, {77, 39, 151, 5},
       {283, 81, kTextWidth, kTextHeight}},
      {"no room for the scale: the dots keep the whole room", 400, 10, 206, 20, 1, 2, {3, 7, 200, 5}, {}},
      {"no logo, nothing drawn", 0, 0, 306, 100, 1, 1, {}, {}},
      {"a canvas no larger than its paper, nothing drawn", 10, 10, 6, 6, 1, 1, {}, {}},
  };
  for (const TPlacementRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TPreviewPlacement placement = PlacePreview(row.DotsWidth, row.DotsHeight, row.CanvasWidth, row.CanvasHeight,
                                                     kMargin, kTextWidth, kTextHeight);
    EXPECT_EQ(placement.Scale.Enlarge, row.Enlarge);
    EXPECT_EQ(placement.Scale.Shrink, row.Shrink);
    EXPECT_EQ(placement.Dots, row.Dots);
    EXPECT_EQ(placement.ScaleText, row.ScaleText);
  }
}

TEST(LogoThresholdBox, TypedNumbersClampedAndNoNumberKeepsTheLastOne) {
  const struct {
    std::string Text;
    int32_t Fallback, Threshold;
  } rows[] = {
      {"128", 50, 128},      {"007", 50, 7},    {" 42 ", 50, 42},         {"0", 50, kMinDotThreshold},
      {"256", 50, kMaxDotThreshold},             {"99999999999999999999", 50, kMaxDotThreshold},
      {"", 50, 50},          {"  ", 50, 50},    {"1a", 50, 50},           {"", 300, kMaxDotThreshold},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ThresholdFromText(row.Text, row.Fallback), row.Threshold) << '"' << row.Text << '"';
}

}  // namespace
}  // namespace printset::win32
