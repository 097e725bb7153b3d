// The printer-sim program in a process of its own, so that what it spends is not
// counted against the tool's process.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace printset {

class TExternalPrinter {
 public:
  TExternalPrinter() = default;
  ~TExternalPrinter() { Stop(); }
  TExternalPrinter(const TExternalPrinter&) = delete;
  TExternalPrinter& operator=(const TExternalPrinter&) = delete;

  // Starts `program` with `args` and reads the pty path from its first line of output.
  // The program inherits the calling thread's processor affinity, unless `cpu` >= 0
  // names the one processor it is to run on. A non-zero `timerSlackNs` replaces the
  // system's default slack (50 us) by which its timed sleeps may end late.
  // With `printers` above 1 (printer-sim --count), that many paths are read, one a line.
  bool Start(const std::string& program, const std::vector<std::string>& args, int cpu = -1,
             unsigned long timerSlackNs = 0, int printers = 1);
  void Stop();
  const std::string& DevicePath() const { return Path; }
  const std::vector<std::string>& DevicePaths() const { return Paths; }
  const std::string& Error() const { return Reason; }

 private:
  pid_t Pid = -1;
  std::string Path;
  std::vector<std::string> Paths;
  std::string Reason;
};

}  // namespace printset
