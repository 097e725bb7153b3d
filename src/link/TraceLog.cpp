#include "link/TraceLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "link/TraceFormat.h"

namespace printset {

void TTraceLog::TraceLine(std::string line) {
  if (TraceEnabled) Lines.push_back(std::move(line));
}

void TTraceLog::TraceHexDump(const uint8_t* bytes, size_t count) {
  for (auto& line : HexDumpLines(bytes, count)) TraceLine(std::move(line));
}

bool TTraceLog::SaveToFile(const std::string& path, std::string* error) const {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  bool ok = true;
  for (const auto& line : Lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), file) == line.size();
    ok = ok && std::fwrite("\r\n", 1, 2, file) == 2;
  }
  const int savedErrno = errno;
  ok = (std::fclose(file) == 0) && ok;
  if (!ok && error) *error = std::strerror(savedErrno ? savedErrno : errno);
  return ok;
}

}  // namespace printset
