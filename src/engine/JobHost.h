// What the worker needs of its owner (the window, the headless front end, a test).
// The window implements it with posted events; everything here may be called on the
// worker thread.
#pragma once

#include <cstdint>
#include <string>

namespace printset {

constexpr const char* kTraceFileName = "debug.log";

// Notices from the worker to its owner.
constexpr uint32_t kMessageJobFinished = 0x400;  // done 0, total 0
constexpr uint32_t kMessageProgress = 0x401;     // bytes done, total bytes
constexpr uint32_t kMessageStatusText = 0x402;   // the worker's status text, where a host queues it

class TJobHost {
 public:
  virtual ~TJobHost() = default;

  // Where the trace of a job is saved when it ends ("debug.log" in the folder of the
  // program's files; a host running several printers at once gives each a file of its own).
  virtual std::string TraceFilePath() = 0;

  // Handed over, never waited for: the owner handles them on its own thread.
  virtual void Notify(uint32_t message, int32_t done, int32_t total) = 0;
  // The worker's status text (status panel 1 in the window).
  virtual void ShowStatusText(const std::string& text) = 0;
};

}  // namespace printset
