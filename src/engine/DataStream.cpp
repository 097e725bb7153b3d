#include "engine/DataStream.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "base/FileIo.h"

namespace printset {

void TDataStream::Clear() {
  Bytes.clear();
  Position = 0;
}

void TDataStream::Assign(std::vector<uint8_t> bytes) {
  Bytes = std::move(bytes);
  Position = 0;
}

void TDataStream::LoadFromFile(const std::string& path, uint64_t maxSize) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadFileBounded(path, maxSize, bytes, reason)) throw std::runtime_error("cannot read \"" + path + "\": " + reason);
  Assign(std::move(bytes));
}

size_t TDataStream::Read(uint8_t* buffer, size_t count) {
  if (Position >= Bytes.size()) return 0;
  const size_t n = std::min(count, Bytes.size() - Position);
  std::memcpy(buffer, Bytes.data() + Position, n);
  Position += n;
  return n;
}

}  // namespace printset
