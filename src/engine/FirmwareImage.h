// Firmware image files: the whole file is sent; bytes 4-7 hold its length (LE), and
// the 32-bit sum of its whole little-endian words is 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace printset {

constexpr size_t kFirmwareMinimumSize = 256;

// Whether the bytes are an image PROGRAM takes: at least kFirmwareMinimumSize bytes, the
// length word at offset 4 equal to the size, and the 32-bit word sum 0. Never fails.
bool IsValidFirmwareImage(const uint8_t* bytes, size_t size);

}  // namespace printset
