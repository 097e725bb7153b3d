// A job host that records what the worker tells it: messages posted and status texts.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "engine/JobHost.h"

namespace printset {

struct TPosted {
  uint32_t Message;
  int32_t WParam;
  int32_t LParam;
};

class TRecordingHost : public TJobHost {
 public:
  std::string Folder;

  std::string TraceFilePath() override { return Folder + kTraceFileName; }
  void Notify(uint32_t message, int32_t wParam, int32_t lParam) override {
    {
      std::lock_guard<std::mutex> lock(Mutex);
      Posted.push_back({message, wParam, lParam});
    }
    Arrived.notify_all();
  }
  // The finish message follows the JobDone signal; waits until `count` have arrived.
  bool WaitForFinished(size_t count) {
    std::unique_lock<std::mutex> lock(Mutex);
    return Arrived.wait_for(lock, std::chrono::seconds(60), [&] {
      size_t finished = 0;
      for (const auto& p : Posted) finished += p.Message == kMessageJobFinished;
      return finished >= count;
    });
  }
  void ShowStatusText(const std::string& text) override {
    std::lock_guard<std::mutex> lock(Mutex);
    StatusTexts.push_back(text);
  }
  std::vector<TPosted> PostedMessages() {
    std::lock_guard<std::mutex> lock(Mutex);
    return Posted;
  }
  std::vector<TPosted> Progress() {
    std::vector<TPosted> progress;
    for (const auto& p : PostedMessages())
      if (p.Message == kMessageProgress) progress.push_back(p);
    return progress;
  }
  std::vector<std::string> Statuses() {
    std::lock_guard<std::mutex> lock(Mutex);
    return StatusTexts;
  }

 private:
  std::mutex Mutex;
  std::condition_variable Arrived;
  std::vector<TPosted> Posted;
  std::vector<std::string> StatusTexts;
};

}  // namespace printset
