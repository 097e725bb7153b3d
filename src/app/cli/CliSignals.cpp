// What an interrupt does, shared by the POSIX signal thread and the Windows console
// handler; each platform file only delivers the interrupts here.
#include "CliSignals.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>

#include "engine/ResultCodes.h"

namespace printset {

namespace {

std::mutex WatchMutex;
TWatchedJob Watched;
int Received = 0;

void Say(const std::string& text) {
  if (Watched.Say) {
    Watched.Say(text);
    return;
  }
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace

void HandleInterrupt() {
  std::lock_guard<std::mutex> lock(WatchMutex);
  if (!Watched.Stop) {
    Say("printset-cli: interrupted before anything was sent\n");
    std::_Exit(kResultCancelled);
  }
  if (++Received == 1) {
    Say("printset-cli: stopping after the current request (again to quit at once)\n" +
        (Watched.Message.empty() ? "" : "printset-cli: " + Watched.Message + "\n"));
    Watched.Stop();
    return;
  }
  // The lock on a port goes with the process; the exclusive-use flag would stay on the
  // device while anyone else holds it open, so the ports are let go of first.
  if (Watched.Release) Watched.Release();
  Say("printset-cli: quit at once; the printer may be left in the middle of the job\n");
  std::_Exit(kResultCancelled);
}

void WatchJob(TWatchedJob job) {
  std::lock_guard<std::mutex> lock(WatchMutex);
  Watched = std::move(job);
}

}  // namespace printset
