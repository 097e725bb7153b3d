#include "CliVerbose.h"

#include <cstdio>
#include <memory>
#include <mutex>

#include "link/PortNames.h"

namespace printset {

std::function<void(size_t i, const std::string& line)> StderrTraceObserver(const std::vector<std::string>& ports) {
  std::vector<std::string> prefixes;
  for (const std::string& port : ports) prefixes.push_back(ports.size() == 1 ? "" : PrintablePortName(port) + ": ");
  // Shared by every copy the workers hold: one line at a time reaches stderr.
  const auto mutex = std::make_shared<std::mutex>();
  return [prefixes, mutex](size_t i, const std::string& line) {
    try {
      const std::string text = (i < prefixes.size() ? prefixes[i] : std::string()) + PrintableBytes(line, false) + "\n";
      const std::lock_guard<std::mutex> lock(*mutex);
      // A line stderr did not take is lost to the watcher only; the trace file keeps it.
      if (std::fwrite(text.data(), 1, text.size(), stderr) != text.size()) std::clearerr(stderr);
    } catch (...) {
      // The trace goes on without its echo.
    }
  };
}

}  // namespace printset
