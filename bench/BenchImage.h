// A firmware image the job accepts: bytes 4-7 hold the size, the word sum is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printset {

std::vector<uint8_t> MakeFirmwareImage(size_t size);

}  // namespace printset
