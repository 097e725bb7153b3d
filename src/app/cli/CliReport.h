// What the front end says about an operation's end on each printer: the text lines, the
// summary of a rack, and the --json object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace printset {

struct TPrinterOutcome {
  std::string Port;
  std::string Operation;  // the verb, e.g. "program" or "logo download"
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
  std::string Step;    // a recipe's step the outcome is of (the failed one, or the last)
  std::string KeptTrace;  // the trace's copy in traces/RUNID/ of the station record
};

// "OK", or "ERROR: " and the reason, its further lines indented: one printer alone.
std::string SingleOutcomeText(const TPrinterOutcome& outcome);
// "PORT: OK (1.52 s)" or "PORT: ERROR (0.40 s): " and the reason: one printer of a rack.
std::string RackOutcomeText(const TPrinterOutcome& outcome);
// "Summary: 2 of 4 printers OK, 2 failed", then a line per printer in the order given:
// OK or "ERROR N", its port and its trace file.
std::string RackSummaryText(const std::vector<TPrinterOutcome>& outcomes);
// The --json object of one printer, on one line: schema, port, operation, result,
// meaning, reason, baud, bytes (acknowledged), size, firmware_incomplete, seconds,
// identity, identity_hex, trace.
std::string OutcomeJson(const TPrinterOutcome& outcome);
// The --json summary of a rack, on one line: schema, operation "summary", verb, run (only
// when `runId` is not empty), total, ok, failed, cancelled, failed_ports (port, result
// and meaning of each printer that failed, in the order given) and firmware_incomplete
// (the ports whose programming stopped half way).
std::string SummaryJson(const std::string& verb, const std::vector<TPrinterOutcome>& outcomes,
                        const std::string& runId);

}  // namespace printset
