// The trace of one job: the lines in memory, saved as a file when the job ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace printset {

// Sees each line as it is added, on the thread that adds it; it must be safe to call
// from every worker that shares it, and must not throw.
using TTraceObserver = std::function<void(const std::string& line)>;

class TTraceLog {
 public:
  // When false, the sender keeps its per-packet lines out of the trace.
  bool TraceEnabled = true;

  // Appends one line as it stands. Never fails.
  void TraceLine(std::string line);
  // Appends `bytes` as lines of two-digit hex values separated by spaces. Never fails.
  void TraceHexDump(const uint8_t* bytes, size_t count);
  // `observer` sees every line added from now on (none: empty). Only while no line is
  // being added. Never fails.
  void SetObserver(TTraceObserver observer) { Observer = std::move(observer); }
  // Forgets every line, for the next job.
  void Clear() { Lines.clear(); }
  // The lines so far, oldest first.
  const std::vector<std::string>& GetLines() const { return Lines; }

  // Writes every line followed by CR LF, replacing the file. False when the file
  // cannot be written; `error` then holds the system's reason.
  bool SaveToFile(const std::string& path, std::string* error = nullptr) const;

 private:
  std::vector<std::string> Lines;
  TTraceObserver Observer;
};

}  // namespace printset
