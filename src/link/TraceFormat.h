// Text of the traffic trace: timestamps and hex-dump lines, byte-exact.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

constexpr size_t kDumpLineLength = 79;
constexpr size_t kDumpBytesPerLine = 16;

// " yy-mm-dd hh:nn:ss zzz " for the given local broken-down time and milliseconds.
std::string FormatTraceTimestamp(int year, int month, int day, int hour, int minute, int second,
                                 int millisecond);

// The same for a wall-clock instant, in local time.
std::string TraceTimestamp(std::chrono::system_clock::time_point when);
// The same for this instant.
std::string TraceTimestampNow();

// One 79-character line per 16 bytes; the last line is padded. No line for 0 bytes.
std::vector<std::string> HexDumpLines(const uint8_t* bytes, size_t count);

}  // namespace printset
