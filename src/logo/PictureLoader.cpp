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

// Makes every pixel a 32-bit 0xffRRGGBB word carrying the stored colour. Qt reads a
// 32-bit bitmap as ARGB32 when it believes the fourth byte is alpha; many bitmaps leave
// that byte 0 and still mean their colours, so alpha is dropped, never blended in.
QImage AsStoredColours(const QImage& image) {
  if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
  // Straight (not premultiplied) ARGB keeps the colour whatever the alpha; then the same
  // words are simply read as RGB32.
  QImage straight = image.convertToFormat(QImage::Format_ARGB32);
  straight.reinterpretAsFormat(QImage::Format_RGB32);
  return straight;
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
  const QImage image = AsStoredColours(read);
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
