#include "logo/LogoSet.h"

#include <algorithm>
#include <cstdio>

#include "logo/DotRules.h"

namespace printset {

namespace {

void PutLe16(std::vector<uint8_t>& out, int value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

bool PictureAcceptable(const TPicture& picture, const TLogoSettings& settings) {
  const int widest = std::min(settings.LogoWidth, kMaxLogoWidth);
  return picture.Width > 0 && picture.Height > 0 && picture.Width <= widest &&
         picture.Height <= kMaxLogoHeight &&
         picture.Pixels.size() >= static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
}

}  // namespace

const char* LogoFailureMessage(TLogoFailure failure) {
  return failure == TLogoFailure::PictureInvalid ? "Picture invalid" : "ERROR";
}

int MaxLogoEntries(const TLogoSettings& settings) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{settings.LogoQuantity} + 1, 0, kMaxLogoCount));
}

const char* LogoFailureReason(TLogoFailure failure) {
  switch (failure) {
    case TLogoFailure::None: return "";
    case TLogoFailure::MissingFile: return "no such file";
    case TLogoFailure::PictureInvalid: return "not a picture, cut short, empty, or too wide or tall for [LOGO]";
    case TLogoFailure::NoRoom: return "the set would not fit into SIZE of [LOGO]";
    case TLogoFailure::TooManyLogos: return "more logos than the set can hold";
  }
  return "";
}

bool CanAddLogo(int count, const TLogoSettings& settings) { return count < MaxLogoEntries(settings); }

TLogoFailure AppendLogo(std::vector<uint8_t>& set, const TPicture& picture,
                        const TLogoSettings& settings) {
  if (!PictureAcceptable(picture, settings)) return TLogoFailure::PictureInvalid;
  const int w = picture.Width;
  const int h = picture.Height;
  const int widthPadding = (8 - w % 8) % 8;
  const int left = widthPadding / 2;
  const int rowBytes = (w + widthPadding) / 8;
  const int heightPadding = (8 - h % 8) % 8;
  const int top = heightPadding / 2;
  const int bottom = heightPadding - top;
  const int64_t height = int64_t{top} + h + bottom;
  const int64_t logoBytes = kLogoHeaderSize + int64_t{rowBytes} * height;
  if (int64_t{settings.LogoSize} < static_cast<int64_t>(set.size()) + logoBytes)
    return TLogoFailure::NoRoom;

  const std::vector<uint8_t> dots = PictureDots(picture, settings.Dots, settings.Threshold);
  set.reserve(set.size() + static_cast<size_t>(logoBytes));
  PutLe16(set, rowBytes);
  PutLe16(set, static_cast<int>(height / 8));
  set.insert(set.end(), static_cast<size_t>(rowBytes) * static_cast<size_t>(top), 0);
  for (int y = 0; y < h; ++y) {
    const size_t rowStart = set.size();
    set.insert(set.end(), static_cast<size_t>(rowBytes), 0);
    const uint8_t* row = dots.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
    // Without a branch per dot: a dithered row is as unpredictable as it gets.
    for (int column = 0; column < w; ++column) {
      const int x = left + column;
      set[rowStart + static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(row[column] << (7 - x % 8));
    }
  }
  set.insert(set.end(), static_cast<size_t>(rowBytes) * static_cast<size_t>(bottom), 0);
  return TLogoFailure::None;
}

TLogoSetResult BuildLogoSet(const std::vector<std::string>& paths, const TLogoSettings& settings,
                            const TPictureLoader& load) {
  TLogoSetResult result;
  result.Bytes = {0xAA, 0xDD, static_cast<uint8_t>(paths.size() & 0xFF)};
  for (size_t i = 0; i < paths.size(); ++i) {
    TLogoFailure failure = TLogoFailure::None;
    if (i >= static_cast<size_t>(kMaxLogoCount)) {
      failure = TLogoFailure::TooManyLogos;
    } else if (const std::optional<TPicture> picture = load(paths[i]); !picture) {
      failure = TLogoFailure::MissingFile;
    } else {
      failure = AppendLogo(result.Bytes, *picture, settings);
    }
    if (failure != TLogoFailure::None) {
      result.Failure = failure;
      result.FailedIndex = static_cast<int>(i);
      return result;
    }
  }
  result.Complete = true;
  return result;
}

std::string FormatLogoSpace(int64_t used, int64_t logoSize) {
  const int64_t free = logoSize - used;
  // %.3lld rather than %03lld: three digits after a minus sign too, as in "-1,-005".
  char text[96];
  std::snprintf(text, sizeof text, "SPACE: %lld,%.3lld Used, %lld,%.3lld Free",
                static_cast<long long>(used / 1000), static_cast<long long>(used % 1000),
                static_cast<long long>(free / 1000), static_cast<long long>(free % 1000));
  return text;
}

}  // namespace printset
