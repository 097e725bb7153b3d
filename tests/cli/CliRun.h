// printset-cli run as a script runs it: through the shell, its output and exit status kept.
#pragma once

#include <string>

namespace printset {

struct TRun {
  int Status = -1;
  std::string Output;
};

// Runs printset-cli with `arguments` (shell words). Output is stdout, followed in time by
// stderr when `withStderr`; stderr is dropped otherwise.
TRun RunCli(const std::string& arguments, bool withStderr = true);
// The same, with stderr, under `environment` alone ("NAME=value ...", shell words).
TRun RunCliIn(const std::string& environment, const std::string& arguments);

}  // namespace printset
