// The trace of one job: the lines in memory, saved as a file when the job ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

class TTraceLog {
 public:
  // When false, the sender keeps its per-packet lines out of the trace.
  bool TraceEnabled = true;

  // Appends one line as it stands. Never fails.
  void TraceLine(std::string line);
  // Appends `bytes` as lines of two-digit hex values separated by spaces. Never fails.
  void TraceHexDump(const uint8_t* bytes, size_t count);
  // Forgets every line, for the next job.
  void Clear() { Lines.clear(); }
  // The lines so far, oldest first.
  const std::vector<std::string>& GetLines() const { return Lines; }

  // Writes every line followed by CR LF, replacing the file. False when the file
  // cannot be written; `error` then holds the system's reason.
  bool SaveToFile(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<std::string> Lines;
};

}  // namespace printset
