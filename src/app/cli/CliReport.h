// What the front end says about an operation's end on each printer: the text lines, the
// summary of a rack, and the --json object.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frontend/PrinterOutcome.h"

namespace printset {

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
