#include "CliSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "engine/ResultCodes.h"

namespace printset {

namespace {

std::mutex WatchMutex;
TWatchedJob Watched;

void Say(const std::string& text) {
  if (Watched.Say) {
    Watched.Say(text);
    return;
  }
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

void Watch(sigset_t signals) {
  int received = 0;
  for (;;) {
    int signal = 0;
    if (::sigwait(&signals, &signal) != 0) continue;
    std::lock_guard<std::mutex> lock(WatchMutex);
    if (!Watched.Stop) {
      Say("printset-cli: interrupted before anything was sent\n");
      std::_Exit(kResultCancelled);
    }
    if (++received == 1) {
      Say("printset-cli: stopping after the current request (again to quit at once)\n" +
          (Watched.Message.empty() ? "" : "printset-cli: " + Watched.Message + "\n"));
      Watched.Stop();
      continue;
    }
    // The lock on a port goes with the process; the exclusive-use flag would stay on
    // the device while anyone else holds it open.
    if (Watched.Release) Watched.Release();
    Say("printset-cli: quit at once; the printer may be left in the middle of the job\n");
    std::_Exit(kResultCancelled);
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

void WatchJob(TWatchedJob job) {
  std::lock_guard<std::mutex> lock(WatchMutex);
  Watched = std::move(job);
}

}  // namespace printset
