#include "link/TraceFormat.h"

#include <cstdio>
#include <ctime>

#include "base/LocalTime.h"

namespace printset {

std::string FormatTraceTimestamp(int year, int month, int day, int hour, int minute, int second,
                                 int millisecond) {
  char text[32];
  std::snprintf(text, sizeof text, " %02d-%02d-%02d %02d:%02d:%02d %03d ", year % 100, month, day,
                hour, minute, second, millisecond);
  return text;
}

std::string TraceTimestamp(std::chrono::system_clock::time_point when) {
  using namespace std::chrono;
  const auto sinceEpoch = when.time_since_epoch();
  const time_t seconds = static_cast<time_t>(duration_cast<std::chrono::seconds>(sinceEpoch).count());
  const int ms = static_cast<int>(duration_cast<milliseconds>(sinceEpoch).count() % 1000);
  std::tm local{};
  ToLocalTime(seconds, local);  // all fields stay 0 in the rare case it fails
  return FormatTraceTimestamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                              local.tm_min, local.tm_sec, ms < 0 ? ms + 1000 : ms);
}

std::string TraceTimestampNow() { return TraceTimestamp(std::chrono::system_clock::now()); }

std::vector<std::string> HexDumpLines(const uint8_t* bytes, size_t count) {
  static const char kHex[] = "0123456789ABCDEF";
  std::vector<std::string> lines;
  for (size_t first = 0; first < count; first += kDumpBytesPerLine) {
    std::string line = "    ";
    std::string chars;
    for (size_t p = 0; p < kDumpBytesPerLine; ++p) {
      const size_t i = first + p;
      if (i < count) {
        const uint8_t b = bytes[i];
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
        line += ' ';
        chars += b > 32 ? static_cast<char>(b) : ' ';
      } else {
        line += "   ";
        chars += ' ';
      }
      if (p == 7 || p == 15) line += "   ";
    }
    line += "    ;";
    line += chars;
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace printset
