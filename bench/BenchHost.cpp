#include "BenchHost.h"

#include <chrono>

namespace printset {

void TBenchHost::Progress(int32_t done, int32_t total) {
  // Sampled before the lock: the lock is never contended during a job anyway.
  const TSample now = SampleNow();
  std::lock_guard<std::mutex> lock(Mutex);
  if (Marked.Messages == 0) {
    Marked.First = now;
    Marked.FirstDone = done;
  }
  ++Marked.Messages;
  Marked.Last = now;
  Marked.LastDone = done;
  Marked.Total = total;
  Marked.Points.emplace_back(now.Wall, done);
}

void TBenchHost::Finished(const TJobOutcome& outcome) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    LastOutcome = outcome;
    JobFinished = true;
  }
  Ended.notify_all();
}

bool TBenchHost::WaitForFinished(uint32_t ms) {
  std::unique_lock<std::mutex> lock(Mutex);
  const bool finished = Ended.wait_for(lock, std::chrono::milliseconds(ms), [this] { return JobFinished; });
  JobFinished = false;
  return finished;
}

TJobOutcome TBenchHost::Outcome() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return LastOutcome;
}

TProgressMarks TBenchHost::Marks() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Marked;
}

}  // namespace printset
