#include "link/TraceLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/TraceFormat.h"

namespace printset {

void TTraceLog::TraceLine(std::string line) {
  if (!TraceEnabled) return;
  if (Observer) {
    try {
      Observer(line);
    } catch (...) {
      // A watcher that failed misses the line; the trace keeps it.
    }
  }
  Lines.push_back(std::move(line));
}

void TTraceLog::TraceHexDump(const uint8_t* bytes, size_t count) {
  for (auto& line : HexDumpLines(bytes, count)) TraceLine(std::move(line));
}

bool TTraceLog::SaveToFile(const std::string& path, std::string* error) const {
  // The reason is taken from the call that failed, at once: a later call may change errno,
  // and errno left over from an earlier call means nothing here.
  const auto fail = [error](int code) {
    if (error) *error = std::strerror(code);
    return false;
  };
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return fail(errno);
  for (const auto& line : Lines) {
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fwrite("\r\n", 1, 2, file) != 2) {
      const int code = errno;
      std::fclose(file);  // only releases the file: the write's reason is the one to give
      return fail(code);
    }
  }
  // Buffered lines reach the file only here; a full disk shows up as late as this.
  if (std::fflush(file) != 0) {
    const int code = errno;
    std::fclose(file);  // as above
    return fail(code);
  }
  if (std::fclose(file) != 0) return fail(errno);
  return true;
}

}  // namespace printset
