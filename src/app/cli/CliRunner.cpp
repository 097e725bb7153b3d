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
#include "frontend/LinkTarget.h"
#include "frontend/PrinterOutcome.h"
#include "link/PortNames.h"
#include "report/JobReason.h"

namespace printset {

namespace {

// Progress only for a person watching: a terminal, no --quiet, and no trace (-v) there.
std::FILE* ProgressStream(const TCliOptions& options) {
  return !options.Quiet && !options.Verbose && IsTerminal(stderr) ? stderr : nullptr;
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

const TStationRun& StationRun() {
  static const TStationRun run = StartStationRun();
  return run;
}

std::vector<TPrinterOutcome> RunRackJob(const TCliContext& context, const TRequest& request,
                                        const std::vector<std::string>& ports, const std::vector<int32_t>& rates,
                                        const std::string& tracePrefix, bool announce) {
  static_cast<void>(StationRun());  // the run starts now: its id and start are fixed here
  TRackSettings settings = RackTarget(context.Rate, context.Link, context.Paths.StateFolder);
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
    outcomes[i] =
        PrinterOutcome(request, rack.PortName(i), ended, rack.Seconds(i), rack.TracePath(i), context.Link.PortMap);
    std::string keepError;
    outcomes[i].KeptTrace = KeepRunTrace(StationRun(), context.Paths.StateFolder, rack.TracePath(i),
                                         tracePrefix + RackTraceFileName(rack.PortName(i)), keepError);
    if (!keepError.empty()) board.Print(stderr, TraceNotKeptWarning(rack.PortName(i), keepError));
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
                           Notice(board), request.StopMessage()});
    rack.Run(request.Job(), [&board](size_t i, int32_t done, int32_t total) { board.Update(i, done, total); }, finished,
             status);
  }
  board.Clear();
  if (single && announce) WarnAfterJob(board, "", rack.Outcome(0));
  return outcomes;
}

void RecordCliRun(const TCliContext& context, const std::string& operation, const std::vector<TRecordInput>& inputs,
                  std::vector<TPrinterOutcome>& outcomes) {
  const std::string warnings = RecordStationRun(StationRun(), context.Paths.StateFolder, KeptRuns(*context.Profile),
                                                operation, inputs, outcomes);
  std::fputs(warnings.c_str(), stderr);
}

std::optional<TRequest> RequestOrSay(const TChecked<TRequest>& checked, const TCliOptions& options) {
  if (checked) return *checked;
  const TRefusal& refusal = checked.Refusal();
  switch (refusal.Kind) {
    case TRefusalKind::Usage:
      throw TUsageError(refusal.Text);
    case TRefusalKind::CannotSave:
      throw std::runtime_error(refusal.Text);
    case TRefusalKind::InvalidImage:
      // The window's word for it; on stdout unless stdout is kept for JSON.
      std::fprintf(options.Json ? stderr : stdout, "%s\n", refusal.Text.c_str());
      std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", refusal.Detail.c_str());
      return std::nullopt;
    case TRefusalKind::IncompleteLogoSet:  // its text says that nothing was sent
      std::fprintf(stderr, "printset-cli: %s\n", refusal.Text.c_str());
      return std::nullopt;
    case TRefusalKind::Unreadable:
      break;
  }
  std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", refusal.Text.c_str());
  return std::nullopt;
}

// Every port gets a worker of a rack, one port as well as many; one port differs only in
// what is printed: "OK" or "ERROR: " and the reason, its result code as the exit status,
// its trace in debug.log.
int RunCliJob(const TCliContext& context, const TRequest& request) {
  std::vector<TPrinterOutcome> outcomes = RunRackJob(context, request, context.Ports, {}, "", true);
  RecordCliRun(context, request.Operation(), request.Inputs(), outcomes);
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
  if (context.Options.Json) std::printf("%s\n", SummaryJson(request.Operation(), outcomes, StationRun().Id).c_str());
  else if (!context.Options.Quiet || !allOk) std::fputs(RackSummaryText(outcomes).c_str(), stdout);
  std::fflush(stdout);
  if (allOk) return 0;
  return cancelled ? kResultCancelled : kExitSomePrintersFailed;
}

}  // namespace printset
