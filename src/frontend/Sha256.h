// The SHA-256 of a byte string, by the system's own digest (OpenSSL on Linux, CNG on
// Windows), for records that name exactly which bytes were sent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printset {

// The digest of `bytes` as 64 lower-case hex digits; empty when the system's digest fails.
std::string Sha256Hex(const std::vector<uint8_t>& bytes);

// 32 digest bytes as 64 lower-case hex digits.
std::string DigestHex(const uint8_t* digest, size_t count);

}  // namespace printset
