// TOperationRunner: runs a window's operations on the one worker. A click hands it a
// request and returns; the worker's progress, status text and outcome come back on the
// window's thread through the toolkit's dispatcher, and the outcome is shown through the
// view: a sound, then OK or ERROR with the reason beneath, and where nothing answered on
// a serial line the offer to search the other rates, which it then runs. Every run is
// recorded in the station record (runs.jsonl).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/CommThread.h"
#include "frontend/FrontEndView.h"
#include "frontend/JobDispatcher.h"
#include "frontend/Request.h"
#include "frontend/StationRecord.h"
#include "settings/LinkSettings.h"

namespace printset {

// Where a window's close is refused while an operation runs: a firmware transfer cut off
// half-way can leave the printer without a working program.
constexpr const char* kBusyText = "BUSY: wait for the end";

class TOperationRunner {
 public:
  // Shows through `view` and hands the worker's calls over through `dispatcher`; both
  // must outlive it. Each job's trace goes to debug.log in `stateFolder`, where the
  // station record is kept too. Never fails.
  TOperationRunner(TFrontEndView& view, TJobDispatcher& dispatcher, const std::string& stateFolder);
  // Stops and joins the worker; what it still posts is never shown.
  ~TOperationRunner();
  TOperationRunner(const TOperationRunner&) = delete;
  TOperationRunner& operator=(const TOperationRunner&) = delete;

  // Takes [PORTS] and [NETWORK] (the devices COMn stand for, the printer behind
  // "TCP/IP") and [STATION] KEEP (how many runs keep their traces). Never fails; call it
  // only while not Busy().
  void SetSettings(const TLinkSettings& link, int32_t keptRuns);
  // Whether an operation (or the search after it) has started and its outcome has not
  // been shown yet. Never fails.
  bool Busy() const { return Running.has_value(); }
  // Starts `request` for the printer on `portName` (surrounding blanks are no part of
  // it) at `baudRate`, and returns at once. False, nothing started, while Busy();
  // std::system_error, nothing sent, when the worker cannot be started.
  bool Start(const TRequest& request, const std::string& portName, int32_t baudRate);

 private:
  class TChannel;
  // What runs: the request, its printer, whether it is the search of the rates, and the
  // run the station record files it under.
  struct TRunning {
    TRequest Request;
    TLinkTarget Target;
    bool Search = false;
    TStationRun Run;
    std::chrono::steady_clock::time_point Started;
  };

  bool StartJob(const TRequest& request, TLinkTarget target, bool search);
  // On the window's thread, when the worker's Finished call arrives.
  void Finished(const TJobOutcome& outcome);
  // Appends the run to the station record; the lines to show when that failed.
  std::vector<std::string> Record(const TRunning& ran, const TJobOutcome& outcome) const;

  TFrontEndView& View;
  const std::string StateFolder;
  TLinkSettings Link;
  int32_t KeptRuns = kDefaultKeptRuns;
  std::optional<TRunning> Running;
  // Posted calls hold it weakly: once the runner is gone they do nothing.
  std::shared_ptr<TOperationRunner*> Self;
  std::unique_ptr<TChannel> Channel;
  // Declared after the channel, which the worker calls, so that it stops first.
  std::unique_ptr<TCommThread> Thread;
};

}  // namespace printset
