// The worker's owner for the benchmark: a fixed port and rate, a scratch folder for
// "debug.log", and when each progress message came, with the process's processor time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "BenchClock.h"
#include "engine/Job.h"
#include "engine/JobObserver.h"

namespace printset {

struct TProgressMarks {
  int Messages = 0;
  int32_t FirstDone = 0;  // bytes done at the first message
  int32_t LastDone = 0;
  int32_t Total = 0;
  TSample First;
  TSample Last;
  // Every message: when it came and the bytes done it carried.
  std::vector<std::pair<double, int32_t>> Points;
};

class TBenchHost : public TJobObserver {
 public:
  TBenchHost(std::string portName, int32_t baudRate, std::string folder)
      : Port(std::move(portName)), Baud(baudRate), Folder(std::move(folder)) {
    Marked.Points.reserve(kPointsReserved);
  }

  // The printer the jobs are for.
  TLinkTarget Target() const { return {Port, Baud, {}, {}, {}}; }
  std::string TraceFilePath() override { return Folder + kTraceFileName; }
  void Progress(int32_t done, int32_t total) override;
  void StatusText(const std::string&) override {}
  void Finished(const TJobOutcome& outcome) override;

  TProgressMarks Marks() const;
  // Waits up to `ms` for the job's Finished call; false when it did not come.
  bool WaitForFinished(uint32_t ms);
  // The outcome of the job that finished last.
  TJobOutcome Outcome() const;

 private:
  // Enough for several MiB at one message per 70 ms: the worker never waits on a reallocation.
  static constexpr size_t kPointsReserved = 4096;

  std::string Port;
  int32_t Baud;
  std::string Folder;
  mutable std::mutex Mutex;
  std::condition_variable Ended;
  TProgressMarks Marked;
  bool JobFinished = false;
  TJobOutcome LastOutcome;
};

}  // namespace printset
