// Ctrl-C and SIGTERM for the headless front end: the first asks the job to stop between
// two requests, the second ends the process at once. Either way the port is let go of.
#pragma once

#include <string>

#include "engine/CommThread.h"

namespace printset {

// Blocks SIGINT and SIGTERM for the calling thread and every thread it starts later, and
// handles them on a thread of its own. Call before any other thread exists.
void StartSignalWatch();

// The job that a signal stops from now on, and what the operator is told when it does;
// nullptr stops nothing (the process then ends at the first signal).
void WatchJob(TCommThread* thread, const std::string& message);

// WatchJob for the life of a scope: the thread must not be stopped once it is gone.
class TJobWatch {
 public:
  TJobWatch(TCommThread& thread, const std::string& message) { WatchJob(&thread, message); }
  ~TJobWatch() { WatchJob(nullptr, ""); }
  TJobWatch(const TJobWatch&) = delete;
  TJobWatch& operator=(const TJobWatch&) = delete;
};

}  // namespace printset
