#include "BenchHost.h"

namespace printset {

void TBenchHost::Notify(uint32_t message, int32_t wParam, int32_t lParam) {
  if (message != kMessageProgress) return;
  // Sampled before the lock: the lock is never contended during a job anyway.
  const TSample now = SampleNow();
  std::lock_guard<std::mutex> lock(Mutex);
  if (Progress.Messages == 0) {
    Progress.First = now;
    Progress.FirstDone = wParam;
  }
  ++Progress.Messages;
  Progress.Last = now;
  Progress.LastDone = wParam;
  Progress.Total = lParam;
  Progress.Points.emplace_back(now.Wall, wParam);
}

TProgressMarks TBenchHost::Marks() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Progress;
}

}  // namespace printset
