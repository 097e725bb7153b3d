// The worker's one channel to its owner (the window, the headless front end, a rack, a
// test): where to save the trace, progress, status text and the outcome.
#pragma once

#include <cstdint>
#include <string>

#include "engine/JobOutcome.h"

namespace printset {

// The trace's file name in the folder of the program's files, for an owner with one printer.
constexpr const char* kTraceFileName = "debug.log";

// What the worker tells its owner. Every call comes on the worker thread and must not
// block: the owner hands it over to its own thread by its toolkit's means (a queued call
// in Qt, a posted message on Windows, a condition variable in the CLI).
class TJobObserver {
 public:
  virtual ~TJobObserver() = default;
  // Where the job's trace is saved when it ends (debug.log, or a file per port of a rack).
  virtual std::string TraceFilePath() = 0;
  // Bytes done of the total.
  virtual void Progress(int32_t done, int32_t total) = 0;
  // The worker's status text (status panel 1 in the window), e.g. "DOWNLOAD logo.bin".
  virtual void StatusText(const std::string& text) = 0;
  // The job has ended: the last call for it, after its trace was saved.
  virtual void Finished(const TJobOutcome& outcome) = 0;
};

}  // namespace printset
