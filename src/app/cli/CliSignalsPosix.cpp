// The POSIX side of the interrupt watch: SIGINT, SIGTERM, SIGHUP (the terminal or the
// session went away) and SIGQUIT (Ctrl-\ on a terminal) taken by a thread of its own.
// Each is an interrupt like Ctrl-C: a port must never be left locked and flagged for
// exclusive use, nor a trace unsaved, because the terminal closed or a core dump was
// asked for.
#include "CliSignals.h"

#include <pthread.h>
#include <signal.h>

#include <thread>

namespace printset {

namespace {

void Watch(sigset_t signals) {
  for (;;) {
    int signal = 0;
    if (::sigwait(&signals, &signal) == 0) HandleInterrupt();
  }
}

}  // namespace

void StartSignalWatch() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  sigaddset(&signals, SIGQUIT);
  if (::pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;  // the defaults then apply
  // Never joined: it waits in sigwait until the process ends.
  std::thread(Watch, signals).detach();
}

}  // namespace printset
