// Logos of a packed set as a picture of what prints, as plain pixels: one bit per dot,
// 1 for a dot (black), 0 for none (white). What a window draws and a front end saves.
#pragma once

#include <cstdint>
#include <vector>

#include "logo/LogoSetReader.h"

namespace printset {

// White rows between two logos of one picture: one 8-row band.
constexpr int kLogoGapRows = 8;

// Width x Height dots, row-major from the top, each row RowBytes() bytes, the leftmost dot
// of a byte in its bit 0x80 (the set's own layout).
struct TDotBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Bits;

  int RowBytes() const { return (Width + 7) / 8; }
  bool IsNull() const { return Width <= 0 || Height <= 0; }
  // Whether the dot at column x (0 to Width - 1) of row y (0 to Height - 1) prints.
  bool Dot(int x, int y) const;
};

// The logos one under another from the top, each at the left edge, kLogoGapRows white
// rows between two, as wide as the widest. A null bitmap when `logos` is empty or the
// picture would be taller than 2^31 - 1 rows. `logos` must come from ReadLogoSet(set).
TDotBitmap DrawLogos(const std::vector<uint8_t>& set, const std::vector<TPackedLogo>& logos);

// `dots` shrunk by the whole factor `divisor` (at least 1): each pixel stands for a
// `divisor` x `divisor` square of dots, partial at the right and bottom edges, and is a
// dot when any dot of its square is, so that no dot is lost from view. Null for null.
TDotBitmap ShrinkDots(const TDotBitmap& dots, int divisor);

// The whole factors that fit a picture into a room, so that every dot is shown as the
// same square and none is smoothed away.
struct TWholeScale {
  int Enlarge = 1;  // each dot a square of this many pixels
  int Shrink = 1;   // each pixel stands for a square of this many dots (ShrinkDots)
};

// The largest enlargement when `width` x `height` fits into `roomWidth` x `roomHeight`
// as it is, else the smallest divisor that makes it fit; 1 and 1 when either is empty.
TWholeScale FitWhole(int width, int height, int roomWidth, int roomHeight);

}  // namespace printset
