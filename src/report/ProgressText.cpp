#include "report/ProgressText.h"

#include <cstdio>

namespace printset {

std::optional<std::string> FormatProgress(int32_t done, int32_t total) {
  if (total == 0) return std::nullopt;
  // 64-bit, so that done * 1000 cannot overflow for any 32-bit count.
  int64_t perMille = static_cast<int64_t>(done) * 1000 / total;
  if (perMille > 1000) perMille = 1000;
  char text[96];
  std::snprintf(text, sizeof text, "Finished: %d.%d%%(%d/%d)", static_cast<int>(perMille / 10),
                static_cast<int>(perMille % 10), done / 256, total / 256);
  return std::string(text);
}


}  // namespace printset
