// A job observer that records what the worker tells it, in order: progress, status texts
// and each job's outcome.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/JobObserver.h"

namespace printset {

// One call the worker made.
struct TObservedCall {
  enum class TKind { Progress, StatusText, Finished };
  TKind Kind = TKind::Progress;
  int32_t Done = 0;   // Progress
  int32_t Total = 0;  // Progress
  std::string Text;   // StatusText
  TJobOutcome Outcome;  // Finished
};

class TRecordingObserver : public TJobObserver {
 public:
  using TKind = TObservedCall::TKind;

  std::string Folder;  // where the trace goes, ending with a separator

  std::string TraceFilePath() override { return Folder + kTraceFileName; }
  void Progress(int32_t done, int32_t total) override { Record({TKind::Progress, done, total, {}, {}}); }
  void StatusText(const std::string& text) override { Record({TKind::StatusText, 0, 0, text, {}}); }
  void Finished(const TJobOutcome& outcome) override { Record({TKind::Finished, 0, 0, {}, outcome}); }

  // Waits until `count` jobs have finished in all; false after `limit` (only a guard
  // against a hang).
  bool WaitForFinished(size_t count, std::chrono::seconds limit = std::chrono::seconds(60)) {
    std::unique_lock<std::mutex> lock(Mutex);
    return Arrived.wait_for(lock, limit, [&] { return FinishedCount(Recorded) >= count; });
  }
  // How many jobs have finished so far.
  size_t FinishedJobs() {
    std::lock_guard<std::mutex> lock(Mutex);
    return FinishedCount(Recorded);
  }
  // The last finished job's outcome; a default one before any.
  TJobOutcome LastOutcome() {
    std::lock_guard<std::mutex> lock(Mutex);
    for (auto it = Recorded.rbegin(); it != Recorded.rend(); ++it)
      if (it->Kind == TKind::Finished) return it->Outcome;
    return {};
  }
  // Every call, in the order they came.
  std::vector<TObservedCall> Calls() {
    std::lock_guard<std::mutex> lock(Mutex);
    return Recorded;
  }
  std::vector<TObservedCall> ProgressCalls() { return Of(TKind::Progress); }
  std::vector<std::string> Statuses() {
    std::vector<std::string> texts;
    for (const TObservedCall& call : Of(TKind::StatusText)) texts.push_back(call.Text);
    return texts;
  }

 private:
  static size_t FinishedCount(const std::vector<TObservedCall>& calls) {
    size_t finished = 0;
    for (const TObservedCall& call : calls) finished += call.Kind == TKind::Finished;
    return finished;
  }
  std::vector<TObservedCall> Of(TKind kind) {
    std::vector<TObservedCall> calls;
    for (const TObservedCall& call : Calls())
      if (call.Kind == kind) calls.push_back(call);
    return calls;
  }
  void Record(TObservedCall call) {
    {
      std::lock_guard<std::mutex> lock(Mutex);
      Recorded.push_back(std::move(call));
    }
    Arrived.notify_all();
  }

  std::mutex Mutex;
  std::condition_variable Arrived;
  std::vector<TObservedCall> Recorded;
};

}  // namespace printset
