// The printer's download memory: written in blocks at arbitrary addresses, kept as
// contiguous regions so that a 32-bit address space costs only what was written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace printset {

class TSparseMemory {
 public:
  struct TRegion {
    uint64_t Address = 0;
    std::vector<uint8_t> Bytes;
  };

  // Later writes replace earlier bytes; touching or overlapping regions merge.
  void Write(uint64_t address, const uint8_t* bytes, size_t count);
  // `count` bytes from `address`; bytes never written read as 0xFF, as erased memory does.
  std::vector<uint8_t> Read(uint64_t address, size_t count) const;
  std::vector<TRegion> Regions() const;
  bool Empty() const { return Blocks.empty(); }
  void Clear() { Blocks.clear(); }

 private:
  std::map<uint64_t, std::vector<uint8_t>> Blocks;  // by start address, never touching
};

}  // namespace printset
