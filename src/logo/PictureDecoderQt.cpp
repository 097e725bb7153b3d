// The picture decoder on Qt's image reader (QtGui, no widgets).
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QSize>

#include "logo/PictureDecoder.h"
#include "logo/PictureLoader.h"

namespace printset {

namespace {

// kMaxPictureDots at 32 bits a dot, in whole MiB, and one more for the rows' padding.
constexpr int kDecodeLimitMb = static_cast<int>(kMaxPictureDots * 4 / (1024 * 1024)) + 1;

QByteArray Wrapped(const std::vector<uint8_t>& bytes) {
  return QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

class TQtPictureDecoder final : public TPictureDecoder {
 public:
  bool AnnouncedSize(const std::vector<uint8_t>& bytes, int& width, int& height) const override {
    QByteArray data = Wrapped(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize announced = reader.size();
    if (!announced.isValid()) return false;
    width = announced.width();
    height = announced.height();
    return true;
  }

  // Qt gives a 32-bit bitmap an alpha channel only when its header has an alpha mask;
  // one without keeps its colours, whatever the fourth byte holds.
  bool Decode(const std::vector<uint8_t>& bytes, TDecodedPicture& picture) const override {
    QByteArray data = Wrapped(bytes);
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return false;
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // A header whose size the reader cannot announce (a bitmap with a negative height)
    // still decodes: the reader allocates no more than the largest picture read at all
    // takes at 32 bits a dot, and a picture of more dots is not converted.
    reader.setAllocationLimit(kDecodeLimitMb);
    const QImage read = reader.read();
    if (read.isNull() || int64_t{read.width()} * read.height() > kMaxPictureDots) return false;
    // Straight alpha, or none: 0xffRRGGBB for every pixel of an opaque picture.
    const QImage image = read.convertToFormat(read.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return false;
    picture.Width = image.width();
    picture.Height = image.height();
    picture.Pixels.clear();
    picture.Pixels.reserve(static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height));
    for (int y = 0; y < picture.Height; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      picture.Pixels.insert(picture.Pixels.end(), line, line + picture.Width);
    }
    return true;
  }
};

}  // namespace

const TPictureDecoder& SystemPictureDecoder() {
  static const TQtPictureDecoder decoder;
  return decoder;
}

}  // namespace printset
