// Firmware image files: the whole file is sent; bytes 4-7 hold its length (LE), and
// the 32-bit sum of its whole little-endian words is 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace printset {

constexpr size_t kFirmwareMinimumSize = 256;

bool IsValidFirmwareImage(const uint8_t* bytes, size_t size);

}  // namespace printset
