// One operation of the front end on its printers: the runner that runs a request of the
// core on every port, and the station record of the run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliReport.h"
#include "frontend/Request.h"
#include "frontend/StationRecord.h"

namespace printset {

// This invocation's run of the station record: its id and start, fixed at the first call.
const TStationRun& StationRun();

// Runs `request` on the ports of `context`, a worker each. One port: "OK" or "ERROR:"
// and the reason, the trace in debug.log; the exit status is the result code. Several:
// one worker each, all at once, a line per printer as it ends and a summary, a trace
// file per port; the exit status is 0 when every printer succeeded, kResultCancelled
// after Ctrl-C, else kExitSomePrintersFailed. With --json a JSON line per printer
// replaces the text on stdout.
int RunCliJob(const TCliContext& context, const TRequest& request);

// Runs `request` on `ports` (rates: where not empty, the rate each printer is talked to
// at first) and returns each printer's outcome in their order, each trace also kept in
// traces/RUNID/ with `tracePrefix` before its name. `announce`: a line per printer of a
// rack as it ends, as RunCliJob prints it; else only progress.
std::vector<TPrinterOutcome> RunRackJob(const TCliContext& context, const TRequest& request,
                                        const std::vector<std::string>& ports, const std::vector<int32_t>& rates,
                                        const std::string& tracePrefix, bool announce);

// Records this run in the station record (see RecordStationRun of the core); what could
// not be recorded is a warning on stderr, never a failure of the operation.
void RecordCliRun(const TCliContext& context, const std::string& operation, const std::vector<TRecordInput>& inputs,
                  std::vector<TPrinterOutcome>& outcomes);

// The request `checked`, or its refusal shown as printset-cli shows it: a Usage refusal
// throws TUsageError, CannotSave std::runtime_error; the others go to stderr
// ("printset-cli: TEXT; nothing was sent"; an invalid image "Invalid file" first, on
// stdout unless --json keeps it for JSON) and give nullopt (exit kExitDataError).
std::optional<TRequest> RequestOrSay(const TChecked<TRequest>& checked, const TCliOptions& options);

}  // namespace printset
