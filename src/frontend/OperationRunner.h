// TOperationRunner: runs the window's operations on the one worker. A click hands it an
// operation and returns; the worker's progress, status text and outcome come back on the
// window's thread through the toolkit's dispatcher, and the outcome is shown through the
// view: a sound, then OK or ERROR with the reason beneath, and where nothing answered on
// a serial line the offer to search the other rates, which it then runs.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/CommThread.h"
#include "engine/Job.h"
#include "frontend/FrontEndView.h"
#include "frontend/JobDispatcher.h"
#include "settings/LinkSettings.h"

namespace printset {

// Where a window's close is refused while an operation runs: a firmware transfer cut off
// half-way can leave the printer without a working program.
constexpr const char* kBusyText = "BUSY: wait for the end";

// One operation of the window, ready for the worker.
struct TOperation {
  std::string Name;  // what the station record calls it: "set", "program", "logo download"
  TJob Job;
  // SET: the rate the block moves the printer to; 0 for the other operations.
  int32_t NewBaudRate = 0;
};

class TOperationRunner {
 public:
  // Shows through `view` and hands the worker's calls over through `dispatcher`; both
  // must outlive it. Each job's trace goes to debug.log in `stateFolder`. Never fails.
  TOperationRunner(TFrontEndView& view, TJobDispatcher& dispatcher, const std::string& stateFolder);
  // Stops and joins the worker; what it still posts is never shown.
  ~TOperationRunner();
  TOperationRunner(const TOperationRunner&) = delete;
  TOperationRunner& operator=(const TOperationRunner&) = delete;

  // Takes [PORTS] and [NETWORK]: the devices COMn stand for and the printer behind
  // "TCP/IP". Never fails; call it only while not Busy().
  void SetLinkSettings(const TLinkSettings& link);
  // Whether an operation (or the search after it) has started and its outcome has not
  // been shown yet. Never fails.
  bool Busy() const { return Running.has_value(); }
  // Starts `operation` for the printer on `portName` (surrounding blanks are no part of
  // it) at `baudRate`, and returns at once. False, nothing started, while Busy();
  // std::system_error, nothing sent, when the worker cannot be started.
  bool Start(const TOperation& operation, const std::string& portName, int32_t baudRate);

 private:
  class TChannel;
  // What runs: the operation, its printer, and whether it is the search of the rates.
  struct TRunning {
    TOperation Operation;
    TLinkTarget Target;
    bool Search = false;
  };

  bool StartJob(TRunning running);
  // On the window's thread, when the worker's Finished call arrives.
  void Finished(const TJobOutcome& outcome);

  TFrontEndView& View;
  TJobDispatcher& Dispatcher;
  TPortMap PortMap;
  TUdpAddress Network;
  std::optional<TRunning> Running;
  // Posted calls hold it weakly: once the runner is gone they do nothing.
  std::shared_ptr<TOperationRunner*> Self;
  std::unique_ptr<TChannel> Channel;
  // Declared after the channel, which the worker calls, so that it stops first.
  std::unique_ptr<TCommThread> Thread;
};

}  // namespace printset
