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

// Error diffusion runs along each row with the error for the pixels to the right held in
// variables, and writes each row below once per pixel: the chain from one pixel to the
// next is all that cannot run ahead. Shares are taken with arithmetic shifts (floor),
// and what rounding leaves goes into the last share, so no error is lost; error that
// would fall outside the picture is dropped.

// 7/16 right, 3/16 below left, 5/16 below, 1/16 below right. The row below is kept one
// column to the right (index x + 1 holds column x), so column -1 has a place to fall.
void FloydSteinbergDots(const TPicture& picture, int32_t threshold, std::vector<uint8_t>& dots) {
  const int32_t limit = threshold * kLumaScale;
  const size_t width = static_cast<size_t>(picture.Width);
  std::vector<int32_t> here(width + 1, 0);
  std::vector<int32_t> below(width + 1, 0);
  for (size_t y = 0; y < static_cast<size_t>(picture.Height); ++y) {
    const uint32_t* pixels = picture.Pixels.data() + y * width;
    const int32_t* carried = here.data() + 1;
    int32_t* next = below.data();  // next[x] is column x - 1
    uint8_t* out = dots.data() + y * width;
    int32_t right = 0;      // for x, from x - 1
    int32_t belowLeft = 0;  // for x - 1 below, from x - 2 and x - 1
    int32_t belowHere = 0;  // for x below, from x - 1
    for (size_t x = 0; x < width; ++x) {
      const int32_t value = Luma(pixels[x]) + carried[x] + right;
      const int32_t dot = value < limit ? 1 : 0;
      out[x] = static_cast<uint8_t>(dot);
      const int32_t error = value - kLumaWhite + dot * kLumaWhite;
      const int32_t seven = (error * 7) >> 4;
      const int32_t three = (error * 3) >> 4;
      const int32_t five = (error * 5) >> 4;
      right = seven;
      next[x] = belowLeft + three;
      belowLeft = belowHere + five;
      belowHere = error - seven - three - five;
    }
    next[width] = belowLeft;
    here.swap(below);
  }
}

// 1/8 each to the two pixels right, the three below (left, under, right) and the one two
// rows down; the other 2/8 are dropped, which keeps highlights and shadows clean. Rows
// are kept one column to the right, as above.
void AtkinsonDots(const TPicture& picture, int32_t threshold, std::vector<uint8_t>& dots) {
  const int32_t limit = threshold * kLumaScale;
  const size_t width = static_cast<size_t>(picture.Width);
  std::vector<int32_t> here(width + 1, 0);
  std::vector<int32_t> below(width + 1, 0);
  std::vector<int32_t> twoBelow(width + 1, 0);
  for (size_t y = 0; y < static_cast<size_t>(picture.Height); ++y) {
    const uint32_t* pixels = picture.Pixels.data() + y * width;
    const int32_t* carried = here.data() + 1;
    int32_t* next = below.data();        // next[x] is column x - 1
    int32_t* after = twoBelow.data() + 1;  // after[x] is column x
    uint8_t* out = dots.data() + y * width;
    int32_t right = 0;     // for x, from x - 2 and x - 1
    int32_t farRight = 0;  // for x + 1, from x - 1
    int32_t twoBack = 0;   // the eighth of x - 2
    int32_t oneBack = 0;   // the eighth of x - 1
    for (size_t x = 0; x < width; ++x) {
      const int32_t value = Luma(pixels[x]) + carried[x] + right;
      const int32_t dot = value < limit ? 1 : 0;
      out[x] = static_cast<uint8_t>(dot);
      const int32_t eighth = (value - kLumaWhite + dot * kLumaWhite) >> 3;
      right = farRight + eighth;
      farRight = eighth;
      next[x] += twoBack + oneBack + eighth;
      after[x] = eighth;
      twoBack = oneBack;
      oneBack = eighth;
    }
    next[width] += twoBack + oneBack;
    // The row two below starts with only this row's share; the next row adds its own.
    here.swap(below);
    below.swap(twoBelow);
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
  // No colours for every pixel, or no pixel at all: nothing prints.
  if (dots.empty() || picture.Pixels.size() < dots.size()) return dots;
  threshold = std::clamp(threshold, kMinDotThreshold, kMaxDotThreshold);
  switch (rule) {
    case TDotRule::Classic: ClassicDots(picture, threshold, dots); break;
    case TDotRule::Luma: LumaDots(picture, threshold, dots); break;
    case TDotRule::FloydSteinberg: FloydSteinbergDots(picture, threshold, dots); break;
    case TDotRule::Atkinson: AtkinsonDots(picture, threshold, dots); break;
    case TDotRule::Ordered: OrderedDots(picture, threshold, dots); break;
  }
  return dots;
}

}  // namespace printset
