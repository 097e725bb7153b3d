// Picture loading and logo packing against arbitrary files and [LOGO] limits.
//
// Property: a file always loads as a picture or as "not a picture" (Width 0, no
// pixels), never as nothing; a picture is within the logo limits and kMaxPictureDots
// and has Width x Height colours of 24 bits; packing it twice into a set succeeds or
// fails exactly as the limits say (size, width, room), and a packed logo holds the
// picture dot for dot: its header gives the whole bytes per row and 8-row bands, blank
// margins centre it, a dot is set where blue is below half.
// Memory is bounded from outside (`make fuzz` runs this with -malloc_limit_mb): a short
// file announcing a huge picture must be refused before anything big is allocated.
#include <QtGlobal>
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Scratch.h"
#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"

namespace printset {
namespace {

constexpr int kSetCount = 2;  // the same picture twice: room runs out between them

bool DotPrints(uint32_t colour) { return ((colour >> 16) & 0xFF) < 128; }

struct TLogoShape {
  int64_t RowBytes = 0;
  int64_t Bands = 0;
  int Left = 0;  // blank dots before each row
  int Top = 0;   // blank rows above the picture
  int64_t Bytes() const { return kLogoHeaderSize + RowBytes * Bands * 8; }
};

TLogoShape ShapeOf(const TPicture& picture) {
  TLogoShape shape;
  shape.RowBytes = (int64_t{picture.Width} + 7) / 8;
  shape.Bands = (int64_t{picture.Height} + 7) / 8;
  shape.Left = static_cast<int>(shape.RowBytes * 8 - picture.Width) / 2;
  shape.Top = static_cast<int>(shape.Bands * 8 - picture.Height) / 2;
  return shape;
}

// The logo at `at` in `set` is the picture, dot for dot, margins blank.
void RequireLogo(const std::vector<uint8_t>& set, size_t at, const TPicture& picture) {
  const TLogoShape shape = ShapeOf(picture);
  Require(set[at] == (shape.RowBytes & 0xFF) && set[at + 1] == (shape.RowBytes >> 8));
  Require(set[at + 2] == (shape.Bands & 0xFF) && set[at + 3] == (shape.Bands >> 8));
  const uint8_t* rows = set.data() + at + kLogoHeaderSize;
  for (int64_t row = 0; row < shape.Bands * 8; ++row) {
    for (int64_t dot = 0; dot < shape.RowBytes * 8; ++dot) {
      const bool dotSet = (rows[row * shape.RowBytes + dot / 8] & (0x80 >> (dot % 8))) != 0;
      const int64_t x = dot - shape.Left;
      const int64_t y = row - shape.Top;
      const bool inside = x >= 0 && x < picture.Width && y >= 0 && y < picture.Height;
      Require(dotSet == (inside && DotPrints(picture.Pixels[static_cast<size_t>(y * picture.Width + x)])));
    }
  }
}

}  // namespace
}  // namespace printset

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The image decoders warn about every broken file; their lines would bury libFuzzer's.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace printset;
  FuzzedDataProvider input(data, size);
  TLogoSettings settings;
  settings.LogoWidth = input.ConsumeIntegral<int32_t>();
  settings.LogoSize = input.ConsumeIntegral<int32_t>();
  const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();

  const std::string path = ScratchPath("picture");
  WriteScratchFile(path, file.data(), file.size());
  const std::optional<TPicture> loaded = LoadPicture(path, SystemPictureDecoder());
  Require(loaded.has_value());
  const TPicture& picture = *loaded;
  if (picture.Width == 0) {
    Require(picture.Height == 0 && picture.Pixels.empty());
  } else {
    Require(picture.Width > 0 && picture.Height > 0 && picture.Width <= kMaxLogoWidth &&
            picture.Height <= kMaxLogoHeight && int64_t{picture.Width} * picture.Height <= kMaxPictureDots);
    Require(picture.Pixels.size() == static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height));
    for (const uint32_t colour : picture.Pixels) Require(colour <= 0xFFFFFF);
  }

  const std::vector<std::string> paths(kSetCount, path);
  const TLogoSetResult set =
      BuildLogoSet(paths, settings, [&](const std::string&) { return loaded; });
  Require(set.Bytes.size() >= kLogoSetHeaderSize && set.Bytes[0] == 0xAA && set.Bytes[1] == 0xDD &&
          set.Bytes[2] == kSetCount);

  const int widest = std::min(settings.LogoWidth, kMaxLogoWidth);
  const bool acceptable = picture.Width > 0 && picture.Width <= widest && picture.Height > 0 &&
                          picture.Height <= kMaxLogoHeight;
  if (!acceptable) {
    Require(set.Failure == TLogoFailure::PictureInvalid && set.FailedIndex == 0);
    Require(set.Bytes.size() == kLogoSetHeaderSize);
    return 0;
  }
  const int64_t logoBytes = ShapeOf(picture).Bytes();
  const int64_t fit = (int64_t{settings.LogoSize} - kLogoSetHeaderSize) / logoBytes;
  const int64_t packed = std::clamp<int64_t>(fit, 0, kSetCount);
  Require(set.Complete == (packed == kSetCount));
  if (!set.Complete) Require(set.Failure == TLogoFailure::NoRoom && set.FailedIndex == packed);
  Require(set.Bytes.size() == static_cast<size_t>(kLogoSetHeaderSize + packed * logoBytes));
  for (int64_t i = 0; i < packed; ++i)
    RequireLogo(set.Bytes, static_cast<size_t>(kLogoSetHeaderSize + i * logoBytes), picture);
  return 0;
}
