// The file being sent: its bytes in memory and a read position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

class TDataStream {
 public:
  // The bytes held; Position is the next one Read gives.
  size_t Size() const { return Bytes.size(); }
  size_t Position = 0;

  const std::vector<uint8_t>& Data() const { return Bytes; }
  // Holds nothing, position 0.
  void Clear();
  // Holds `bytes`, position 0.
  void Assign(std::vector<uint8_t> bytes);
  // Replaces the content with the file's; throws std::runtime_error naming the file and
  // the reason when it cannot be read or holds more than `maxSize` bytes. The position
  // goes to 0.
  void LoadFromFile(const std::string& path, uint64_t maxSize);
  // Up to `count` bytes from the position; returns how many were read.
  size_t Read(uint8_t* buffer, size_t count);

 private:
  std::vector<uint8_t> Bytes;
};

}  // namespace printset
