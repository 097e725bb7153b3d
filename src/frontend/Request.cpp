#include "frontend/Request.h"

#include <filesystem>
#include <system_error>

#include "frontend/Sha256.h"

namespace printset {

TRecordInput RecordInput(const std::string& name, const std::vector<uint8_t>& bytes) {
  // The record is read after the shift, from anywhere: the path it names stands alone.
  std::error_code failure;
  const std::filesystem::path absolute = std::filesystem::absolute(name, failure);
  return {failure ? name : absolute.lexically_normal().string(), bytes.size(), Sha256Hex(bytes)};
}

}  // namespace printset
