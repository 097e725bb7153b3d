// Files the operator names, checked before any job reads them.
#pragma once

#include <cstdint>
#include <string>

namespace printset {

// The largest firmware image PROGRAM takes: far above any printer's flash, small
// enough to hold in memory.
constexpr uint64_t kMaxFirmwareFileSize = uint64_t{16} << 20;
// The largest file DOWNLOAD takes, for the same reasons.
constexpr uint64_t kMaxDownloadFileSize = uint64_t{16} << 20;

// True when `path` is a regular file (a link to one counts) that this process can open
// for reading and that holds at most `maxSize` bytes. Otherwise false with `reason`
// set, e.g. "No such file or directory", "a FIFO, not a regular file". A device, FIFO
// or socket is never opened, so that checking has no effect on it.
bool CheckInputFile(const std::string& path, uint64_t maxSize, std::string& reason);

}  // namespace printset
