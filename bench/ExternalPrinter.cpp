#include "ExternalPrinter.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace printset {

namespace {

constexpr int kFirstLineTimeoutMs = 5000;

}  // namespace

bool TExternalPrinter::Start(const std::string& program, const std::vector<std::string>& args, int cpu,
                             unsigned long timerSlackNs, int printers) {
  Stop();
  if (::access(program.c_str(), X_OK) != 0) {
    Reason = program + ": " + std::strerror(errno);
    return false;
  }
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) {
    Reason = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  std::vector<std::string> words{program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0) {
    Reason = std::string("fork: ") + std::strerror(errno);
    ::close(out[0]);
    ::close(out[1]);
    return false;
  }
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec. The printer runs until told
    // to stop, so it must not outlive a benchmark that was interrupted.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() == 1) ::_exit(1);
    if (timerSlackNs != 0) ::prctl(PR_SET_TIMERSLACK, timerSlackNs, 0, 0, 0);
    if (cpu >= 0) {
      cpu_set_t only;
      CPU_ZERO(&only);
      CPU_SET(cpu, &only);
      ::sched_setaffinity(0, sizeof only, &only);
    }
    ::dup2(out[1], STDOUT_FILENO);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  Pid = pid;

  std::string line;
  char c = 0;
  Paths.clear();
  while (static_cast<int>(Paths.size()) < printers) {
    pollfd p{out[0], POLLIN, 0};
    const int ready = ::poll(&p, 1, kFirstLineTimeoutMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = ::read(out[0], &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (c != '\n') {
      line += c;
      continue;
    }
    if (line.empty() || line[0] != '/') break;
    Paths.push_back(line);
    line.clear();
  }
  // The simulator prints nothing more on stdout; a closed pipe costs it nothing.
  ::close(out[0]);
  if (static_cast<int>(Paths.size()) < printers) {
    Reason = program + " did not name its " + std::to_string(printers) + " pty (got \"" + line + "\")";
    Stop();
    return false;
  }
  Path = Paths[0];
  return true;
}

void TExternalPrinter::Stop() {
  if (Pid <= 0) return;
  ::kill(Pid, SIGTERM);
  int status = 0;
  while (::waitpid(Pid, &status, 0) < 0 && errno == EINTR) {
  }
  Pid = -1;
  Path.clear();
  Paths.clear();
}

}  // namespace printset
