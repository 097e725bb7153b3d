#include "logo/DotBitmap.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace printset {

bool TDotBitmap::Dot(int x, int y) const {
  const size_t at = static_cast<size_t>(y) * static_cast<size_t>(RowBytes()) + static_cast<size_t>(x / 8);
  return (Bits[at] & (0x80 >> (x % 8))) != 0;
}

TDotBitmap DrawLogos(const std::vector<uint8_t>& set, const std::vector<TPackedLogo>& logos) {
  if (logos.empty()) return {};
  int width = 0;
  int64_t height = 0;
  for (const TPackedLogo& logo : logos) {
    width = std::max(width, logo.Width());
    height += logo.Height;
  }
  height += int64_t{kLogoGapRows} * static_cast<int64_t>(logos.size() - 1);
  if (height > INT32_MAX) return {};
  TDotBitmap bitmap;
  bitmap.Width = width;
  bitmap.Height = static_cast<int>(height);
  const size_t rowBytes = static_cast<size_t>(bitmap.RowBytes());
  bitmap.Bits.assign(rowBytes * static_cast<size_t>(bitmap.Height), 0);
  // The set's rows are the bitmap's bits already: leftmost dot in bit 0x80, 1 prints.
  size_t top = 0;
  for (const TPackedLogo& logo : logos) {
    for (int y = 0; y < logo.Height; ++y)
      std::memcpy(bitmap.Bits.data() + (top + static_cast<size_t>(y)) * rowBytes,
                  set.data() + logo.RowsAt + static_cast<size_t>(y) * static_cast<size_t>(logo.RowBytes),
                  static_cast<size_t>(logo.RowBytes));
    top += static_cast<size_t>(logo.Height) + kLogoGapRows;
  }
  return bitmap;
}

TDotBitmap ShrinkDots(const TDotBitmap& dots, int divisor) {
  if (dots.IsNull()) return {};
  divisor = std::max(divisor, 1);
  TDotBitmap shrunk;
  shrunk.Width = (dots.Width + divisor - 1) / divisor;
  shrunk.Height = (dots.Height + divisor - 1) / divisor;
  const size_t rowBytes = static_cast<size_t>(shrunk.RowBytes());
  shrunk.Bits.assign(rowBytes * static_cast<size_t>(shrunk.Height), 0);
  for (int y = 0; y < dots.Height; ++y) {
    const uint8_t* row = dots.Bits.data() + static_cast<size_t>(y) * static_cast<size_t>(dots.RowBytes());
    uint8_t* out = shrunk.Bits.data() + static_cast<size_t>(y / divisor) * rowBytes;
    for (int x = 0; x < dots.Width; ++x) {
      if ((row[x / 8] & (0x80 >> (x % 8))) == 0) continue;
      const int column = x / divisor;
      out[column / 8] |= static_cast<uint8_t>(0x80 >> (column % 8));
    }
  }
  return shrunk;
}

TWholeScale FitWhole(int width, int height, int roomWidth, int roomHeight) {
  TWholeScale scale;
  if (width <= 0 || height <= 0 || roomWidth <= 0 || roomHeight <= 0) return scale;
  if (width <= roomWidth && height <= roomHeight) {
    scale.Enlarge = std::min(roomWidth / width, roomHeight / height);
  } else {
    const auto over = [](int size, int space) { return (size + space - 1) / space; };
    scale.Shrink = std::max(over(width, roomWidth), over(height, roomHeight));
  }
  return scale;
}

}  // namespace printset
