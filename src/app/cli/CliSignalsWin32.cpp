// The Windows side of the interrupt watch: the console's control events.
#include "CliSignals.h"

#include <windows.h>

namespace printset {

namespace {

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
  HandleInterrupt();  // ends the process itself at a second interrupt
  return TRUE;
}

}  // namespace

void StartSignalWatch() {
  if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) return;  // the default then applies
}

}  // namespace printset
