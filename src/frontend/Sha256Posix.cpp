#include <openssl/evp.h>

#include "frontend/Sha256.h"

namespace printset {

std::string Sha256Hex(const std::vector<uint8_t>& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return "";
  return DigestHex(digest, length);
}

}  // namespace printset
