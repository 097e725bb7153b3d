#include <algorithm>

#include <windows.h>
// after windows.h
#include <bcrypt.h>

#include "frontend/Sha256.h"

namespace printset {

namespace {

constexpr size_t kDigestSize = 32;

bool Succeeded(NTSTATUS status) { return status >= 0; }

}  // namespace

std::string Sha256Hex(const std::vector<uint8_t>& bytes) {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return "";
  BCRYPT_HASH_HANDLE hash = nullptr;
  uint8_t digest[kDigestSize] = {};
  bool done = Succeeded(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0));
  // BCryptHashData takes at most 4 GiB a call; the inputs are far smaller, but never trust it.
  for (size_t at = 0; done && at < bytes.size();) {
    const ULONG chunk = static_cast<ULONG>(std::min<size_t>(bytes.size() - at, 1u << 30));
    done = Succeeded(BCryptHashData(hash, const_cast<PUCHAR>(bytes.data() + at), chunk, 0));
    at += chunk;
  }
  done = done && Succeeded(BCryptFinishHash(hash, digest, kDigestSize, 0));
  if (hash != nullptr) BCryptDestroyHash(hash);
  BCryptCloseAlgorithmProvider(algorithm, 0);
  return done ? DigestHex(digest, kDigestSize) : "";
}

}  // namespace printset
