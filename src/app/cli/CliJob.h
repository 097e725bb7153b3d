// One operation of the front end on its printers: what every worker is given, the job it
// runs, and the runner that runs it on every port.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliReport.h"
#include "StationRecord.h"
#include "engine/Job.h"

namespace printset {

struct TCliJob {
  std::string Operation;  // the verb, as --json names it
  TJob Job;               // what every printer is given
  uint64_t Bytes = 0;       // what the operation carries to each printer
  std::string StopMessage;  // a line added to the notice of the first Ctrl-C
  std::vector<TRecordInput> Inputs;  // the files it sends, for the station record
};

// Runs `job` on the ports of `context`, a worker each. One port: "OK" or "ERROR:"
// and the reason, the trace in debug.log; the exit status is the result code. Several:
// one worker each, all at once, a line per printer as it ends and a summary, a trace
// file per port; the exit status is 0 when every printer succeeded, kResultCancelled
// after Ctrl-C, else kExitSomePrintersFailed. With --json a JSON line per printer
// replaces the text on stdout.
int RunCliJob(const TCliContext& context, const TCliJob& job);

// Runs `job` on `ports` (rates: where not empty, the rate each printer is talked to at
// first) and returns each printer's outcome in their order, each trace also kept in
// traces/RUNID/ with `tracePrefix` before its name. `announce`: a line per printer of a
// rack as it ends, as RunCliJob prints it; else only progress.
std::vector<TPrinterOutcome> RunRackJob(const TCliContext& context, const TCliJob& job,
                                        const std::vector<std::string>& ports, const std::vector<int32_t>& rates,
                                        const std::string& tracePrefix, bool announce);

// Appends a station record line per outcome to runs.jsonl and removes the oldest run
// folders of traces/ beyond [STATION] KEEP; a record that cannot be written is a warning
// on stderr, never a failure of the operation.
void RecordStationRun(const TCliContext& context, const std::string& operation,
                      const std::vector<TRecordInput>& inputs, const std::vector<TPrinterOutcome>& outcomes);

}  // namespace printset
