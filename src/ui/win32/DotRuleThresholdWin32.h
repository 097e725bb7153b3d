// The NVRAM page's THRESHOLD box as a number: what the operator typed, made one the dot
// rules take.
#pragma once

#include <cstdint>
#include <string>

namespace printset::win32 {

// The number `text` holds (digits, blanks around them allowed), clamped to
// kMinDotThreshold..kMaxDotThreshold however many digits it has; `fallback` (clamped
// the same way) when it holds no number. Never fails.
int32_t ThresholdFromText(const std::string& text, int32_t fallback);

}  // namespace printset::win32
