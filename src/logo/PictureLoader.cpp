#include "logo/PictureLoader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QSize>
#include <QString>

#include <filesystem>
#include <vector>

#include "base/FileIo.h"

#include "logo/PictureCompleteness.h"

namespace printset {

namespace {

// Makes every pixel a 32-bit 0xffRRGGBB word: the picture as it looks on white paper.
// A picture with an alpha channel is laid over white with straight (not premultiplied)
// alpha, c' = (c x a + 255 x (255 - a)) / 255, so a transparent background reads white
// whatever colour its pixels store. Qt gives a 32-bit bitmap an alpha channel only when
// its header has an alpha mask; one without keeps its colours, whatever the fourth byte
// holds. An opaque picture keeps its colours exactly.
QImage OnWhitePaper(const QImage& image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  QImage laid = image.convertToFormat(QImage::Format_ARGB32);
  const auto over = [](int colour, int alpha) { return (colour * alpha + 255 * (255 - alpha)) / 255; };
  for (int y = 0; y < laid.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(laid.scanLine(y));
    for (int x = 0; x < laid.width(); ++x) {
      const QRgb pixel = line[x];
      const int alpha = qAlpha(pixel);
      line[x] = qRgb(over(qRed(pixel), alpha), over(qGreen(pixel), alpha), over(qBlue(pixel), alpha));
    }
  }
  laid.reinterpretAsFormat(QImage::Format_RGB32);
  return laid;
}

// Whether a picture of this size may become a logo and be decoded at all.
bool SizeAllowed(const QSize& size) {
  return size.width() <= kMaxLogoWidth && size.height() <= kMaxLogoHeight &&
         int64_t{size.width()} * size.height() <= kMaxPictureDots;
}

}  // namespace

std::optional<TPicture> LoadPicture(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;

  // Read once, within a bound: the same bytes are checked for completeness and then decoded.
  std::vector<uint8_t> content;
  std::string reason;
  if (!ReadFileBounded(path, kMaxPictureFileSize, content, reason)) return TPicture{};
  if (!PictureDataComplete(content.data(), content.size())) return TPicture{};
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(content.data()),
                                             static_cast<qsizetype>(content.size()));
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return TPicture{};
  QImageReader reader(&buffer);
  reader.setDecideFormatFromContent(true);
  // A few bytes can announce a huge picture, which the reader would allocate before it
  // finds the data missing: the announced size is refused before anything is decoded.
  const QSize announced = reader.size();
  if (announced.isValid() && !SizeAllowed(announced)) return TPicture{};
  const QImage read = reader.read();
  if (read.isNull() || !SizeAllowed(read.size())) return TPicture{};
  const QImage image = OnWhitePaper(read);
  if (image.isNull()) return TPicture{};

  TPicture picture;
  picture.Width = image.width();
  picture.Height = image.height();
  picture.Pixels.reserve(static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height));
  for (int y = 0; y < picture.Height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < picture.Width; ++x) {
      const QRgb pixel = line[x];
      picture.Pixels.push_back(static_cast<uint32_t>(qBlue(pixel)) << 16 |
                               static_cast<uint32_t>(qGreen(pixel)) << 8 |
                               static_cast<uint32_t>(qRed(pixel)));
    }
  }
  return picture;
}

}  // namespace printset
