// Firmware image check against arbitrary files.
//
// Property: IsValidFirmwareImage agrees with the rule recomputed byte by byte (at least
// kFirmwareMinimumSize bytes, bytes 4-7 hold the file's length, the wrapping sum of
// the whole little-endian words is 0); any input of that size, once given its length
// and a balancing first word, is accepted; changing one summed byte of an accepted
// image, or dropping its last byte, makes it refused; the unsummed tail is free.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "engine/FirmwareImage.h"

namespace {

using printset::IsValidFirmwareImage;
using printset::kFirmwareMinimumSize;
using printset::Require;

// The rule spelled out over single bytes, sharing nothing with the code under test.
uint32_t WordSum(const uint8_t* bytes, size_t size) {
  uint32_t sum = 0;
  const size_t summed = size - size % 4;
  for (size_t i = 0; i < summed; ++i) sum += static_cast<uint32_t>(bytes[i]) << (8 * (i % 4));
  return sum;
}

uint32_t LengthField(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[4]) | static_cast<uint32_t>(bytes[5]) << 8 |
         static_cast<uint32_t>(bytes[6]) << 16 | static_cast<uint32_t>(bytes[7]) << 24;
}

bool Expected(const uint8_t* bytes, size_t size) {
  return size >= kFirmwareMinimumSize && LengthField(bytes) == size && WordSum(bytes, size) == 0;
}

void SetWord(std::vector<uint8_t>& image, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Require(IsValidFirmwareImage(data, size) == Expected(data, size));
  if (size < kFirmwareMinimumSize) return 0;

  std::vector<uint8_t> image(data, data + size);
  SetWord(image, 4, static_cast<uint32_t>(size));
  SetWord(image, 0, 0);
  SetWord(image, 0, 0u - WordSum(image.data(), size));
  Require(IsValidFirmwareImage(image.data(), size));
  // Dropping the last byte leaves the length word one too large.
  Require(!IsValidFirmwareImage(image.data(), size - 1));

  // The input itself picks which byte to change and by how much.
  const size_t summed = size - size % 4;
  const size_t at = (static_cast<size_t>(data[8]) | static_cast<size_t>(data[9]) << 8) % summed;
  const uint8_t flip = static_cast<uint8_t>(data[10] | 1);
  image[at] ^= flip;
  Require(!IsValidFirmwareImage(image.data(), size));
  image[at] ^= flip;
  for (size_t tail = summed; tail < size; ++tail) {
    image[tail] ^= flip;
    Require(IsValidFirmwareImage(image.data(), size));
  }
  return 0;
}
