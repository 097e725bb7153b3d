// Ctrl-C and SIGTERM (and SIGHUP, SIGQUIT) for the headless front end: the first asks the
// job to stop between two requests, the second ends the process at once. Either way the
// ports are let go of.
#pragma once

#include <functional>
#include <string>

namespace printset {

// What a signal stops, on one printer or many. The actions run on the signal thread.
struct TWatchedJob {
  std::function<void()> Stop;     // asks the job to stop before its next request
  std::function<void()> Release;  // lets go of the ports before a second signal ends the process
  // Prints a notice (ending in a line end) on stderr; plain fputs when empty, else e.g.
  // above a progress board.
  std::function<void(const std::string&)> Say;
  std::string Message;  // a line added to the notice of the first signal
};

// Blocks SIGINT, SIGTERM, SIGHUP and SIGQUIT for the calling thread and every thread it
// starts later, and handles them on a thread of its own (Windows: a console handler for
// Ctrl-C, Ctrl-Break and closing the console). Call before any other thread exists.
void StartSignalWatch();

// What a signal stops from now on; a job without a Stop action stops nothing (the
// process then ends at the first signal).
void WatchJob(TWatchedJob job);

// What every interrupt does, whichever way the platform delivers it: the first stops the
// watched job (or ends the process when nothing is watched), the second releases the
// ports and ends the process with kResultCancelled. Called by the platform's watch, on
// its own thread.
void HandleInterrupt();

// WatchJob for the life of a scope: what the actions touch must not be stopped once it
// is gone.
class TJobWatch {
 public:
  explicit TJobWatch(TWatchedJob job) { WatchJob(std::move(job)); }
  ~TJobWatch() { WatchJob({}); }
  TJobWatch(const TJobWatch&) = delete;
  TJobWatch& operator=(const TJobWatch&) = delete;
};

}  // namespace printset
