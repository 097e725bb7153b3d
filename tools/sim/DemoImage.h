// Firmware images the tool accepts, for trying PROGRAM without a real one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printset {

// Makes `image` acceptable: bytes 4-7 take its size, and the first word is chosen so
// that the 32-bit sum of all whole words wraps to 0. The image must hold 8 bytes or more.
void SealFirmwareImage(std::vector<uint8_t>& image);

// `size` bytes of varied content (start bytes 0x03 among them, as real code has), sealed.
std::vector<uint8_t> MakeDemoFirmwareImage(size_t size, uint32_t seed = 0x2545F491u);

}  // namespace printset
