// The runner of CliJob.h: a rack of workers, one port or many.
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "CliJob.h"
#include "CliReport.h"
#include "CliSignals.h"
#include "CliVerbose.h"
#include "ProgressBoard.h"
#include "Terminal.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "report/JobReason.h"

namespace printset {

namespace {

// Progress only for a person watching: a terminal, no --quiet, and no trace (-v) there.
std::FILE* ProgressStream(const TCliOptions& options) {
  return !options.Quiet && !options.Verbose && IsTerminal(stderr) ? stderr : nullptr;
}

TPrinterOutcome Outcome(const TCliContext& context, const TCliJob& job, const std::string& port,
                        const TJobOutcome& ended, double seconds, const std::string& tracePath) {
  TPrinterOutcome outcome;
  outcome.Port = port;
  outcome.Operation = job.Operation;
  outcome.Result = ended.ResultCode;
  if (ended.ResultCode != kResultOk)
    outcome.Reason = JobFailureReason(ended, ResolvePortName(port, context.Link.PortMap));
  outcome.Bytes = static_cast<uint64_t>(ended.BytesAcknowledged);
  outcome.Size = job.Bytes;
  outcome.FirmwareIncomplete = ended.FirmwareIncomplete;
  outcome.Seconds = seconds;
  if (ended.BaudRate > 0) outcome.Baud = ended.BaudRate;
  // A printer that answered identify, even with an identity not accepted or none at all.
  if (!ended.DeviceIdentity.empty() || ended.ResultCode == kResultOk || ended.ResultCode == kResultIdentityRejected)
    outcome.Identity = ended.DeviceIdentity;
  outcome.TracePath = tracePath;
  return outcome;
}

// A notice of the signal watch, above the progress lines.
std::function<void(const std::string&)> Notice(TProgressBoard& board) {
  return [&board](const std::string& text) { board.Print(stderr, text); };
}

// What an operator must know beyond the outcome line: on stderr, so that --json and
// --quiet keep it too.
void WarnAfterJob(TProgressBoard& board, const std::string& port, const TJobOutcome& outcome) {
  const std::string where = port.empty() ? "" : PrintablePortName(port) + ": ";
  if (!outcome.TraceSaveError.empty())
    board.Print(stderr, "warning: " + where + "the trace could not be saved: " + outcome.TraceSaveError + "\n");
  if (outcome.FirmwareIncomplete) board.Print(stderr, "warning: " + where + IncompleteFirmwareText(outcome) + "\n");
}

}  // namespace

std::vector<TPrinterOutcome> RunRackJob(const TCliContext& context, const TCliJob& job,
                                        const std::vector<std::string>& ports, const std::vector<int32_t>& rates,
                                        const std::string& tracePrefix, bool announce) {
  static_cast<void>(StationRun());  // the run starts now: its id and start are fixed here
  TRackSettings settings;
  settings.BaudRate = context.Baud;
  settings.Folder = context.Paths.StateFolder;
  settings.Ports = context.Link.PortMap;
  settings.Network = {context.Link.NetworkHost, context.Link.NetworkPort};
  settings.SearchRates = context.SearchRates;
  settings.PortRates = rates;
  if (context.Options.Verbose) settings.TraceObserver = StderrTraceObserver(ports);
  TRack rack(ports, settings);
  const bool single = rack.Size() == 1;
  std::vector<std::string> labels;
  for (const std::string& port : ports) labels.push_back(single ? std::string() : PrintablePortName(port));
  std::FILE* progressStream = ProgressStream(context.Options);
  TProgressBoard board(progressStream, labels);
  std::vector<TPrinterOutcome> outcomes(rack.Size());
  const auto finished = [&](size_t i) {
    board.Finish(i);
    const TJobOutcome ended = rack.Outcome(i);
    outcomes[i] = Outcome(context, job, rack.PortName(i), ended, rack.Seconds(i), rack.TracePath(i));
    std::string keepError;
    outcomes[i].KeptTrace = KeepRunTrace(context.Paths.StateFolder, rack.TracePath(i),
                                         tracePrefix + RackTraceFileName(rack.PortName(i)), keepError);
    if (!keepError.empty())
      board.Print(stderr, "warning: " + PrintablePortName(rack.PortName(i)) + ": the trace was not kept in " +
                              kRunTracesFolder + "/: " + keepError + "\n");
    if (single && announce) return;  // said once the board is gone
    WarnAfterJob(board, rack.PortName(i), ended);
    if (!announce) return;
    if (context.Options.Json) board.Print(stdout, OutcomeJson(outcomes[i]) + "\n");
    else if (!context.Options.Quiet || outcomes[i].Result != kResultOk) board.Print(stdout, RackOutcomeText(outcomes[i]));
  };
  // The worker's status text, for a person watching one printer.
  const auto status = [&](size_t, const std::string& text) {
    if (single && progressStream != nullptr) board.Print(stderr, text + "\n");
  };
  {
    const TJobWatch watch({[&rack] { rack.RequestStop(); },
                           [&rack] { rack.ReleaseLines(); },
                           Notice(board), job.StopMessage});
    rack.Run(job.Job, [&board](size_t i, int32_t done, int32_t total) { board.Update(i, done, total); }, finished,
             status);
  }
  board.Clear();
  if (single && announce) WarnAfterJob(board, "", rack.Outcome(0));
  return outcomes;
}

void RecordStationRun(const TCliContext& context, const std::string& operation,
                      const std::vector<TRecordInput>& inputs, const std::vector<TPrinterOutcome>& outcomes) {
  std::vector<TJson> lines;
  for (const TPrinterOutcome& outcome : outcomes) lines.push_back(StationLine(operation, inputs, outcome));
  std::string error;
  if (!AppendStationLines(context.Paths.StateFolder, lines, error))
    std::fprintf(stderr, "warning: the station record was not written: %s\n", error.c_str());
  PruneRunTraces(context.Paths.StateFolder, KeptRuns(*context.Profile));
}

// Every port gets a worker of a rack, one port as well as many; one port differs only in
// what is printed: "OK" or "ERROR: " and the reason, its result code as the exit status,
// its trace in debug.log.
int RunCliJob(const TCliContext& context, const TCliJob& job) {
  const std::vector<TPrinterOutcome> outcomes = RunRackJob(context, job, context.Ports, {}, "", true);
  RecordStationRun(context, job.Operation, job.Inputs, outcomes);
  const bool single = outcomes.size() == 1;
  if (single) {
    const TPrinterOutcome& outcome = outcomes.front();
    if (context.Options.Json) std::printf("%s\n", OutcomeJson(outcome).c_str());
    else if (!context.Options.Quiet || outcome.Result != kResultOk) std::fputs(SingleOutcomeText(outcome).c_str(), stdout);
    std::fflush(stdout);
    return outcome.Result;
  }
  bool allOk = true;
  bool cancelled = false;
  for (const TPrinterOutcome& outcome : outcomes) {
    allOk = allOk && outcome.Result == kResultOk;
    cancelled = cancelled || outcome.Result == kResultCancelled;
  }
  // The summary is the last line, after Ctrl-C too (the rack has ended every job then).
  if (context.Options.Json) std::printf("%s\n", SummaryJson(job.Operation, outcomes, StationRun().Id).c_str());
  else if (!context.Options.Quiet || !allOk) std::fputs(RackSummaryText(outcomes).c_str(), stdout);
  std::fflush(stdout);
  if (allOk) return 0;
  return cancelled ? kResultCancelled : kExitSomePrintersFailed;
}

}  // namespace printset
