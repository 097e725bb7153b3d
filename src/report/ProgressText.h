// The progress text of the status bar: "Finished: 25.0%(50/200)", counts in 256-byte units.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace printset {

// Nothing for a total of 0. More done than the total shows as 100.0%.
std::optional<std::string> FormatProgress(int32_t done, int32_t total);

}  // namespace printset
