// The POSIX side of the interrupt watch: SIGINT and SIGTERM taken by a thread of its own.
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
  if (::pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return;  // the defaults then apply
  // Never joined: it waits in sigwait until the process ends.
  std::thread(Watch, signals).detach();
}

}  // namespace printset
