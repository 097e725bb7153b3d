// Reply time limits of the block transfers. A block that starts a 4 KiB page waits
// longer: the printer erases the page before it writes.
#pragma once

#include <cstdint>

namespace printset {

constexpr bool StartsPage(uint32_t address) { return (address & 0xFFFu) == 0; }
constexpr uint32_t DownloadBlockTimeoutMs(uint32_t address) { return StartsPage(address) ? 1800 : 600; }
constexpr uint32_t FirmwareBlockTimeoutMs(uint32_t offset) { return StartsPage(offset) ? 1200 : 600; }

}  // namespace printset
