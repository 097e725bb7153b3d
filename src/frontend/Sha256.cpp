#include "frontend/Sha256.h"

namespace printset {

std::string DigestHex(const uint8_t* digest, size_t count) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < count; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
}

}  // namespace printset
