#include "logo/PictureLoader.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "base/FileIo.h"

#include "logo/PictureCompleteness.h"

namespace printset {

namespace {

// Whether a picture of this size may become a logo and be decoded at all.
bool SizeAllowed(int width, int height) {
  return width <= kMaxLogoWidth && height <= kMaxLogoHeight && int64_t{width} * height <= kMaxPictureDots;
}

// The picture as it looks on white paper, as 0x00BBGGRR: a pixel with alpha is laid over
// white with straight (not premultiplied) alpha, so a transparent background reads white
// whatever colour its pixels store; an opaque pixel (alpha 255) keeps its colour exactly.
TPicture OnWhitePaper(TDecodedPicture&& decoded) {
  const auto over = [](uint32_t colour, uint32_t alpha) { return (colour * alpha + 255 * (255 - alpha)) / 255; };
  TPicture picture;
  picture.Width = decoded.Width;
  picture.Height = decoded.Height;
  picture.Pixels = std::move(decoded.Pixels);
  for (uint32_t& pixel : picture.Pixels) {
    const uint32_t alpha = pixel >> 24;
    const uint32_t red = over((pixel >> 16) & 0xFF, alpha);
    const uint32_t green = over((pixel >> 8) & 0xFF, alpha);
    const uint32_t blue = over(pixel & 0xFF, alpha);
    pixel = blue << 16 | green << 8 | red;
  }
  return picture;
}

}  // namespace

std::optional<TPicture> LoadPicture(const std::string& path, const TPictureDecoder& decoder) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;

  // Read once, within a bound: the same bytes are checked for completeness and then decoded.
  std::vector<uint8_t> content;
  std::string reason;
  if (!ReadFileBounded(path, kMaxPictureFileSize, content, reason)) return TPicture{};
  if (!PictureDataComplete(content.data(), content.size())) return TPicture{};
  // A few bytes can announce a huge picture, which the decoder would allocate before it
  // finds the data missing: the announced size is refused before anything is decoded.
  int width = 0;
  int height = 0;
  if (decoder.AnnouncedSize(content, width, height) && !SizeAllowed(width, height)) return TPicture{};
  TDecodedPicture decoded;
  if (!decoder.Decode(content, decoded) || decoded.Width <= 0 || decoded.Height <= 0 ||
      !SizeAllowed(decoded.Width, decoded.Height) ||
      decoded.Pixels.size() != static_cast<size_t>(decoded.Width) * static_cast<size_t>(decoded.Height))
    return TPicture{};
  return OnWhitePaper(std::move(decoded));
}

TPictureLoader PictureLoaderOn(const TPictureDecoder& decoder) {
  return [&decoder](const std::string& path) { return LoadPicture(path, decoder); };
}

}  // namespace printset
