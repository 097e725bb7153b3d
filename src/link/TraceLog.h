// The trace of one job: the lines in memory, saved as a file when the job ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

class TTraceLog {
 public:
  bool TraceEnabled = true;

  void TraceLine(std::string line);
  void TraceHexDump(const uint8_t* bytes, size_t count);
  void Clear() { Lines.clear(); }
  const std::vector<std::string>& GetLines() const { return Lines; }

  // Writes every line followed by CR LF, replacing the file. False when the file
  // cannot be written; `error` then holds the system's reason.
  bool SaveToFile(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<std::string> Lines;
};

}  // namespace printset
