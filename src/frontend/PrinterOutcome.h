// How an operation ended on one printer, as both front ends report it and the station
// record keeps it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/Job.h"
#include "frontend/Request.h"
#include "report/JobReason.h"

namespace printset {

struct TPrinterOutcome {
  std::string Port;
  std::string Operation;  // as the request names it, e.g. "program" or "logo download"
  uint8_t Result = 0;     // the job's result code
  std::string Reason;     // why it failed, a line or more; empty after success
  uint64_t Bytes = 0;     // what the printer acknowledged of it
  uint64_t Size = 0;      // what the operation carries to the printer
  bool FirmwareIncomplete = false;  // programming failed after the printer took a block
  double Seconds = 0;
  // The rate the printer answered at; none over UDP or when it never answered.
  std::optional<int32_t> Baud;
  std::optional<std::string> Identity;  // as the printer sent it; none when it never answered
  std::string TracePath;
  std::string Step;       // a recipe's step the outcome is of (the failed one, or the last)
  std::string KeptTrace;  // the trace's copy in traces/RUNID/ of the station record
};

// The outcome of `request` on the printer at `port` (resolved by `portMap` for the
// reason), which ended as `ended` after `seconds`, its trace at `tracePath`; the reason in
// the words of `frontEnd`. Identity is set where a printer answered identify, even with
// an identity not accepted or none at all. Never fails.
TPrinterOutcome PrinterOutcome(const TRequest& request, const std::string& port, const TJobOutcome& ended,
                               double seconds, const std::string& tracePath, const TPortMap& portMap,
                               TReasonFrontEnd frontEnd = TReasonFrontEnd::CommandLine);

}  // namespace printset
