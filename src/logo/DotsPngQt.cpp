#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <cstring>

#include "logo/DotsPng.h"

namespace printset {

bool EncodeDotsPng(const TDotBitmap& dots, std::vector<uint8_t>& bytes, std::string& error) {
  // The bitmap's rows are a one-bit picture's already: leftmost dot in bit 0x80, 1 black.
  QImage image(dots.Width, dots.Height, QImage::Format_Mono);
  if (dots.IsNull() || image.isNull()) {
    error = "too large";
    return false;
  }
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  const size_t rowBytes = static_cast<size_t>(dots.RowBytes());
  for (int y = 0; y < dots.Height; ++y)
    std::memcpy(image.scanLine(y), dots.Bits.data() + static_cast<size_t>(y) * rowBytes, rowBytes);
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
