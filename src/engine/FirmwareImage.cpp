#include "engine/FirmwareImage.h"

#include "link/PacketCodec.h"

namespace printset {

bool IsValidFirmwareImage(const uint8_t* bytes, size_t size) {
  if (size < kFirmwareMinimumSize) return false;
  if (GetLe32(bytes + 4) != size) return false;
  uint32_t sum = 0;
  // A tail of 1 to 3 bytes is sent but not summed.
  for (size_t at = 0; at + 4 <= size; at += 4) sum += GetLe32(bytes + at);
  return sum == 0;
}

}  // namespace printset
