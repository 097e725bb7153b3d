#include "ui/win32/DotRuleThresholdWin32.h"

#include <algorithm>

#include "settings/LogoSettings.h"

namespace printset::win32 {

int32_t ThresholdFromText(const std::string& text, int32_t fallback) {
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos) return std::clamp(fallback, kMinDotThreshold, kMaxDotThreshold);
  int64_t value = 0;
  for (size_t i = first; i <= last; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::clamp(fallback, kMinDotThreshold, kMaxDotThreshold);
    // Past the largest threshold every further digit only makes it larger still.
    value = std::min<int64_t>(value * 10 + (c - '0'), int64_t{kMaxDotThreshold} + 1);
  }
  return static_cast<int32_t>(std::clamp<int64_t>(value, kMinDotThreshold, kMaxDotThreshold));
}

}  // namespace printset::win32
