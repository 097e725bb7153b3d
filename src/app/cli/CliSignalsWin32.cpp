#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>

#include "CliSignals.h"
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

// Ctrl-C, Ctrl-Break and closing the console stand for SIGINT and SIGTERM. The system
// calls this on a thread of its own, so the actions run there as they do on the POSIX
// side's signal thread.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      break;
    default:
      return FALSE;  // logoff and shutdown: the default handling ends the process
  }
  std::lock_guard<std::mutex> lock(WatchMutex);
  if (!Watched.Stop) {
    Say("printset-cli: interrupted before anything was sent\n");
    std::_Exit(kResultCancelled);
  }
  if (++Received == 1) {
    Say("printset-cli: stopping after the current request (again to quit at once)\n" +
        (Watched.Message.empty() ? "" : "printset-cli: " + Watched.Message + "\n"));
    Watched.Stop();
    return TRUE;
  }
  // The port's handle goes with the process, but a clean close lets the driver drop
  // its exclusive use before anyone else tries the port.
  if (Watched.Release) Watched.Release();
  Say("printset-cli: quit at once; the printer may be left in the middle of the job\n");
  std::_Exit(kResultCancelled);
}

}  // namespace

void StartSignalWatch() {
  if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) return;  // the default then applies
}

void WatchJob(TWatchedJob job) {
  std::lock_guard<std::mutex> lock(WatchMutex);
  Watched = std::move(job);
}

}  // namespace printset
