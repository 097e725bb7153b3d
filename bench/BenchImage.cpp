#include "BenchImage.h"

#include "link/PacketCodec.h"

namespace printset {

std::vector<uint8_t> MakeFirmwareImage(size_t size) {
  std::vector<uint8_t> image(size);
  // Varied bytes, with start bytes (0x03) among them, as real code has.
  uint32_t state = 0x2545F491u;
  for (auto& byte : image) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<uint8_t>(state);
  }
  PutLe32(&image[4], static_cast<uint32_t>(size));
  uint32_t sum = 0;
  for (size_t at = 4; at + 4 <= size; at += 4) sum += GetLe32(&image[at]);
  // The first word balances the rest, so the whole sum wraps to 0.
  PutLe32(&image[0], 0u - sum);
  return image;
}

}  // namespace printset
