#include "logo/DotRules.h"

#include <algorithm>
#include <array>

namespace printset {

namespace {

// Luma in thousandths: 299 R + 587 G + 114 B runs from 0 to 255,000, so comparing it with
// 1000 x threshold is the exact comparison of Y with the threshold, without rounding.
constexpr int32_t kLumaScale = 1000;
constexpr int32_t kLumaWhite = 255 * kLumaScale;

int32_t Luma(uint32_t colour) {
  const int32_t red = static_cast<int32_t>(colour & 0xFF);
  const int32_t green = static_cast<int32_t>((colour >> 8) & 0xFF);
  const int32_t blue = static_cast<int32_t>((colour >> 16) & 0xFF);
  return 299 * red + 587 * green + 114 * blue;
}

size_t Count(const TPicture& picture) {
  return static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
}

void ClassicDots(const TPicture& picture, int32_t threshold, std::vector<uint8_t>& dots) {
  const auto limit = static_cast<uint32_t>(threshold);
  for (size_t i = 0; i < dots.size(); ++i) dots[i] = ((picture.Pixels[i] >> 16) & 0xFF) < limit ? 1 : 0;
}

void LumaDots(const TPicture& picture, int32_t threshold, std::vector<uint8_t>& dots) {
  const int32_t limit = threshold * kLumaScale;
  for (size_t i = 0; i < dots.size(); ++i) dots[i] = Luma(picture.Pixels[i]) < limit ? 1 : 0;
}

// One neighbour that receives a share of a pixel's error: columns to the right (dx) and
// rows down (dy), the share as a numerator.
struct TShare {
  int Dx;
  int Dy;
  int32_t Numerator;
};

constexpr std::array<TShare, 4> kFloydSteinberg = {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}};
constexpr int32_t kFloydSteinbergDenominator = 16;
constexpr std::array<TShare, 6> kAtkinson = {{{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}};
constexpr int32_t kAtkinsonDenominator = 8;
constexpr int kDiffusionRows = 3;   // the current row and the two below it
constexpr int kDiffusionMargin = 2;  // columns reached left and right of the picture

// Error diffusion: the rows of pending error are a ring of kDiffusionRows, each with
// kDiffusionMargin spare columns either side, so no neighbour needs a bounds test.
template <size_t N>
void DiffusedDots(const TPicture& picture, int32_t threshold, const std::array<TShare, N>& shares,
                  int32_t denominator, std::vector<uint8_t>& dots) {
  const int32_t limit = threshold * kLumaScale;
  const size_t stride = static_cast<size_t>(picture.Width) + 2 * kDiffusionMargin;
  std::vector<int32_t> error(stride * kDiffusionRows, 0);
  for (int y = 0; y < picture.Height; ++y) {
    int32_t* rows[kDiffusionRows];
    for (int r = 0; r < kDiffusionRows; ++r)
      rows[r] = error.data() + static_cast<size_t>((y + r) % kDiffusionRows) * stride + kDiffusionMargin;
    const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(picture.Width);
    for (int x = 0; x < picture.Width; ++x) {
      const int32_t value = Luma(picture.Pixels[rowStart + static_cast<size_t>(x)]) + rows[0][x];
      const bool dot = value < limit;
      dots[rowStart + static_cast<size_t>(x)] = dot ? 1 : 0;
      const int32_t residue = value - (dot ? 0 : kLumaWhite);
      for (const TShare& share : shares) rows[share.Dy][x + share.Dx] += residue * share.Numerator / denominator;
    }
    // The row just finished becomes the one two below.
    std::fill(rows[0] - kDiffusionMargin, rows[0] - kDiffusionMargin + stride, 0);
  }
}

// The classic 8 x 8 Bayer index matrix: every value 0 to 63 once, neighbours far apart.
constexpr std::array<std::array<uint8_t, 8>, 8> kBayer = {{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

// Cell k of the matrix moves the threshold by (k + 1/2) x 255/64 - 127.5, i.e. evenly
// across one full step of 255 centred on the threshold; the result is kept within 1 to
// 255 so that black still prints and white still does not.
void OrderedDots(const TPicture& picture, int32_t threshold, std::vector<uint8_t>& dots) {
  std::array<std::array<int32_t, 8>, 8> limits{};
  for (size_t row = 0; row < 8; ++row) {
    for (size_t column = 0; column < 8; ++column) {
      const int32_t offset = (2 * kBayer[row][column] + 1) * kLumaWhite / 128 - kLumaWhite / 2;
      limits[row][column] = std::clamp(threshold * kLumaScale + offset, kMinDotThreshold * kLumaScale, kLumaWhite);
    }
  }
  for (int y = 0; y < picture.Height; ++y) {
    const std::array<int32_t, 8>& cells = limits[static_cast<size_t>(y % 8)];
    const size_t rowStart = static_cast<size_t>(y) * static_cast<size_t>(picture.Width);
    for (int x = 0; x < picture.Width; ++x) {
      const size_t i = rowStart + static_cast<size_t>(x);
      dots[i] = Luma(picture.Pixels[i]) < cells[static_cast<size_t>(x % 8)] ? 1 : 0;
    }
  }
}

}  // namespace

std::vector<uint8_t> PictureDots(const TPicture& picture, TDotRule rule, int32_t threshold) {
  std::vector<uint8_t> dots(Count(picture), 0);
  if (picture.Pixels.size() < dots.size()) return dots;  // no colours for every pixel: nothing prints
  threshold = std::clamp(threshold, kMinDotThreshold, kMaxDotThreshold);
  switch (rule) {
    case TDotRule::Classic: ClassicDots(picture, threshold, dots); break;
    case TDotRule::Luma: LumaDots(picture, threshold, dots); break;
    case TDotRule::FloydSteinberg:
      DiffusedDots(picture, threshold, kFloydSteinberg, kFloydSteinbergDenominator, dots);
      break;
    case TDotRule::Atkinson: DiffusedDots(picture, threshold, kAtkinson, kAtkinsonDenominator, dots); break;
    case TDotRule::Ordered: OrderedDots(picture, threshold, dots); break;
  }
  return dots;
}

}  // namespace printset
