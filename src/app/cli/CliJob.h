// One operation of the front end on its printers: what every worker is given, the job it
// runs, and the runner that runs it on every port.
#pragma once

#include <cstdint>
#include <string>

#include "CliContext.h"
#include "engine/Job.h"

namespace printset {

struct TCliJob {
  std::string Operation;  // the verb, as --json names it
  TJob Job;               // what every printer is given
  uint64_t Bytes = 0;       // what the operation carries to each printer
  std::string StopMessage;  // a line added to the notice of the first Ctrl-C
};

// Runs `job` on the ports of `context`, a worker each. One port: "OK" or "ERROR:"
// and the reason, the trace in debug.log; the exit status is the result code. Several:
// one worker each, all at once, a line per printer as it ends and a summary, a trace
// file per port; the exit status is 0 when every printer succeeded, kResultCancelled
// after Ctrl-C, else kExitSomePrintersFailed. With --json a JSON line per printer
// replaces the text on stdout.
int RunCliJob(const TCliContext& context, const TCliJob& job);

}  // namespace printset
