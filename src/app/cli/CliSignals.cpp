#include "CliSignals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>

#include "engine/ResultCodes.h"

namespace printset {

namespace {

std::mutex WatchMutex;
TCommThread* Watched = nullptr;
std::string StopMessage;

void ReportAndExit(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
  std::_Exit(kResultCancelled);
}

void Watch(sigset_t signals) {
  int received = 0;
  for (;;) {
    int signal = 0;
    if (::sigwait(&signals, &signal) != 0) continue;
    std::lock_guard<std::mutex> lock(WatchMutex);
    if (!Watched) ReportAndExit("printset-cli: interrupted before anything was sent\n");
    if (++received == 1) {
      std::fprintf(stderr, "\nprintset-cli: stopping after the current request%s (again to quit at once)\n",
                   StopMessage.c_str());
      std::fflush(stderr);
      Watched->RequestStop();
      continue;
    }
    // The lock on the port goes with the process; the exclusive-use flag would stay on
    // the device while anyone else holds it open.
    Watched->SerialPort.ReleaseExclusiveUse();
    ReportAndExit("printset-cli: quit at once; the printer may be left in the middle of the job\n");
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

void WatchJob(TCommThread* thread, const std::string& message) {
  std::lock_guard<std::mutex> lock(WatchMutex);
  Watched = thread;
  StopMessage = message;
}

}  // namespace printset
