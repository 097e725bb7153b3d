#include "CliRun.h"

#include <sys/wait.h>

#include <cstdio>

namespace printset {

namespace {

TRun RunCommand(const std::string& command) {
  TRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.Output.append(chunk, n);
  const int status = ::pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace

TRun RunCli(const std::string& arguments, bool withStderr) {
  return RunCommand(std::string(PRINTSET_CLI) + " " + arguments + (withStderr ? " 2>&1" : " 2>/dev/null"));
}

TRun RunCliIn(const std::string& environment, const std::string& arguments) {
  return RunCommand("env -i " + environment + " " + PRINTSET_CLI + " " + arguments + " 2>&1");
}

}  // namespace printset
