// The largest inputs the transfers take.
#pragma once

#include <cstdint>

namespace printset {

// The largest firmware image PROGRAM takes: far above any printer's flash, small
// enough to hold in memory.
constexpr uint64_t kMaxFirmwareFileSize = uint64_t{16} << 20;
// The largest file DOWNLOAD takes, for the same reasons.
constexpr uint64_t kMaxDownloadFileSize = uint64_t{16} << 20;

}  // namespace printset
