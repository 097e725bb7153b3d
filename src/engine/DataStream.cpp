#include "engine/DataStream.h"

#include <sys/stat.h>

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

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw std::runtime_error("cannot read \"" + path + "\": " + std::strerror(errno));
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool failed = std::ferror(file) != 0;
  const int savedErrno = errno;
  std::fclose(file);
  if (failed) throw std::runtime_error("cannot read \"" + path + "\": " + std::strerror(savedErrno));
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("Cannot create file \"" + path + "\". " + std::strerror(errno));
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int savedErrno = errno;
  if (std::fclose(file) != 0 || !written)
    throw std::runtime_error("Cannot write file \"" + path + "\". " + std::strerror(written ? errno : savedErrno));
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace printset
