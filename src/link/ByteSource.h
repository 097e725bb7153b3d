// What the reply receiver reads from: a blocking read with a time limit.
#pragma once

#include <cstdint>

namespace printset {

class TByteSource {
 public:
  virtual ~TByteSource() = default;
  // Up to `count` bytes into `buffer` within `ms` milliseconds; the number read, or -1.
  virtual int Read(uint8_t* buffer, int count, uint32_t ms) = 0;
};

}  // namespace printset
