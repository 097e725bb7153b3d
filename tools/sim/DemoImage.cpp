#include "sim/DemoImage.h"

#include "link/PacketCodec.h"

namespace printset {

void SealFirmwareImage(std::vector<uint8_t>& image) {
  PutLe32(&image[4], static_cast<uint32_t>(image.size()));
  uint32_t sum = 0;
  for (size_t at = 4; at + 4 <= image.size(); at += 4) sum += GetLe32(&image[at]);
  PutLe32(&image[0], 0u - sum);
}

std::vector<uint8_t> MakeDemoFirmwareImage(size_t size, uint32_t seed) {
  std::vector<uint8_t> image(size);
  uint32_t state = seed ? seed : 1;
  for (auto& byte : image) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<uint8_t>(state);
  }
  SealFirmwareImage(image);
  return image;
}

}  // namespace printset
