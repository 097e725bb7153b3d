#include "logo/LogoImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <algorithm>
#include <cstring>

namespace printset {

QImage DrawLogos(const std::vector<uint8_t>& set, const std::vector<TPackedLogo>& logos) {
  if (logos.empty()) return {};
  int width = 0;
  int64_t height = 0;
  for (const TPackedLogo& logo : logos) {
    width = std::max(width, logo.Width());
    height += logo.Height;
  }
  height += int64_t{kLogoGapRows} * static_cast<int64_t>(logos.size() - 1);
  if (height > INT32_MAX) return {};
  // The set's rows are the picture's bits already: leftmost dot in bit 0x80, 1 prints.
  QImage image(width, static_cast<int>(height), QImage::Format_Mono);
  if (image.isNull()) return {};
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  int top = 0;
  for (const TPackedLogo& logo : logos) {
    for (int y = 0; y < logo.Height; ++y)
      std::memcpy(image.scanLine(top + y), set.data() + logo.RowsAt + static_cast<size_t>(y) * logo.RowBytes,
                  static_cast<size_t>(logo.RowBytes));
    top += logo.Height + kLogoGapRows;
  }
  return image;
}

QImage ShrinkDots(const QImage& dots, int divisor) {
  if (dots.isNull() || dots.format() != QImage::Format_Mono) return {};
  divisor = std::max(divisor, 1);
  const QImage& source = dots;
  const int width = (source.width() + divisor - 1) / divisor;
  const int height = (source.height() + divisor - 1) / divisor;
  QImage shrunk(width, height, QImage::Format_Mono);
  if (shrunk.isNull()) return {};
  shrunk.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  shrunk.fill(0);
  for (int y = 0; y < source.height(); ++y) {
    const uchar* row = source.constScanLine(y);
    uchar* out = shrunk.scanLine(y / divisor);
    for (int x = 0; x < source.width(); ++x) {
      if ((row[x / 8] & (0x80 >> (x % 8))) == 0) continue;
      const int column = x / divisor;
      out[column / 8] |= static_cast<uchar>(0x80 >> (column % 8));
    }
  }
  return shrunk;
}

bool EncodePng(const QImage& image, std::vector<uint8_t>& bytes, std::string& error) {
  QByteArray encoded;
  QBuffer buffer(&encoded);
  if (!buffer.open(QIODevice::WriteOnly)) {
    error = buffer.errorString().toStdString();
    return false;
  }
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) {
    error = writer.errorString().toStdString();
    return false;
  }
  bytes.assign(encoded.begin(), encoded.end());
  return true;
}

}  // namespace printset
