// The runner of CliJob.h: one worker for one port, a rack for several.
#include <chrono>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <system_error>

#include "CliHost.h"
#include "CliJob.h"
#include "CliReport.h"
#include "CliSignals.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "ProgressBoard.h"
#include "report/JobReason.h"
#include "Terminal.h"

namespace printset {

namespace {

using TClock = std::chrono::steady_clock;

// Progress only for a person watching: a terminal, and no --quiet.
std::FILE* ProgressStream(const TCliOptions& options) {
  return !options.Quiet && IsTerminal(stderr) ? stderr : nullptr;
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

int RunOnePort(const TCliContext& context, const TCliJob& job) {
  const std::string& port = context.Ports.front();
  TProgressBoard board(ProgressStream(context.Options), {""});
  TCliHost host(board);
  host.PortNameValue = port;
  host.BaudValue = context.Baud;
  host.Folder = context.Paths.StateFolder;
  host.Ports = context.Link.PortMap;
  host.Udp.Host = context.Link.NetworkHost;
  host.Udp.Port = context.Link.NetworkPort;
  host.ShowStatus = ProgressStream(context.Options) != nullptr;
  TCommThread thread(host);
  const TJobWatch watch({[&thread] { thread.RequestStop(); }, [&thread] { thread.ReleaseLine(); },
                         Notice(board), job.StopMessage});
  const TClock::time_point started = TClock::now();
  try {
    if (!thread.StartJob(job.Job)) throw std::logic_error("a new worker refused its first job");
  } catch (const std::system_error& error) {
    throw TRackStartError(std::string("could not start a worker for the printer: ") + error.what());
  }
  while (!thread.JobDone.Wait(1000)) {
  }
  const double seconds = std::chrono::duration<double>(TClock::now() - started).count();
  board.Clear();
  const TJobOutcome ended = thread.Outcome();
  WarnAfterJob(board, "", ended);
  const TPrinterOutcome outcome = Outcome(context, job, port, ended, seconds, host.TraceFilePath());
  if (context.Options.Json) std::printf("%s\n", OutcomeJson(outcome).c_str());
  else if (!context.Options.Quiet || outcome.Result != kResultOk) std::fputs(SingleOutcomeText(outcome).c_str(), stdout);
  std::fflush(stdout);
  return outcome.Result;
}

int RunRack(const TCliContext& context, const TCliJob& job) {
  TRackSettings settings;
  settings.BaudRate = context.Baud;
  settings.Folder = context.Paths.StateFolder;
  settings.Ports = context.Link.PortMap;
  settings.UdpHost = context.Link.NetworkHost;
  settings.UdpPort = context.Link.NetworkPort;
  TRack rack(context.Ports, settings);
  std::vector<std::string> labels;
  for (const std::string& port : context.Ports) labels.push_back(PrintablePortName(port));
  TProgressBoard board(ProgressStream(context.Options), labels);
  std::vector<TPrinterOutcome> outcomes(rack.Size());
  const auto finished = [&](size_t i) {
    board.Finish(i);
    const TJobOutcome ended = rack.Outcome(i);
    outcomes[i] = Outcome(context, job, rack.PortName(i), ended, rack.Seconds(i), rack.TracePath(i));
    WarnAfterJob(board, rack.PortName(i), ended);
    if (context.Options.Json) board.Print(stdout, OutcomeJson(outcomes[i]) + "\n");
    else if (!context.Options.Quiet || outcomes[i].Result != kResultOk) board.Print(stdout, RackOutcomeText(outcomes[i]));
  };
  {
    const TJobWatch watch({[&rack] { rack.RequestStop(); },
                           [&rack] { rack.ReleaseLines(); },
                           Notice(board), job.StopMessage});
    rack.Run(job.Job, [&board](size_t i, int32_t done, int32_t total) { board.Update(i, done, total); }, finished);
  }
  board.Clear();
  bool allOk = true;
  bool cancelled = false;
  for (const TPrinterOutcome& outcome : outcomes) {
    allOk = allOk && outcome.Result == kResultOk;
    cancelled = cancelled || outcome.Result == kResultCancelled;
  }
  if (!context.Options.Json && (!context.Options.Quiet || !allOk))
    std::fputs(RackSummaryText(outcomes).c_str(), stdout);
  std::fflush(stdout);
  if (allOk) return 0;
  return cancelled ? kResultCancelled : kExitSomePrintersFailed;
}

}  // namespace

int RunCliJob(const TCliContext& context, const TCliJob& job) {
  return context.Ports.size() == 1 ? RunOnePort(context, job) : RunRack(context, job);
}

}  // namespace printset
