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
#include "ProgressBoard.h"
#include "Terminal.h"
#include "engine/JobReason.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"

namespace printset {

namespace {

using TClock = std::chrono::steady_clock;

// Progress only for a person watching: a terminal, and no --quiet.
std::FILE* ProgressStream(const TCliOptions& options) {
  return !options.Quiet && IsTerminal(stderr) ? stderr : nullptr;
}

TPrinterOutcome Outcome(const TCliContext& context, const TCliJob& job, const std::string& port,
                        const TCommThread& thread, double seconds, const std::string& tracePath) {
  TPrinterOutcome outcome;
  outcome.Port = port;
  outcome.Operation = job.Operation;
  outcome.Result = thread.ResultCode;
  if (thread.ResultCode != kResultOk)
    outcome.Reason = JobFailureReason(thread, ResolvePortName(port, context.Link.PortMap));
  outcome.Bytes = static_cast<uint64_t>(thread.BytesAcknowledged);
  outcome.Size = job.Bytes;
  outcome.FirmwareIncomplete = thread.FirmwareIncomplete;
  outcome.Seconds = seconds;
  outcome.Identity = thread.DeviceIdentity;
  outcome.TracePath = tracePath;
  return outcome;
}

// A notice of the signal watch, above the progress lines.
std::function<void(const std::string&)> Notice(TProgressBoard& board) {
  return [&board](const std::string& text) { board.Print(stderr, text); };
}

void WarnAfterJob(TProgressBoard& board, const std::string& port, const TCommThread& thread) {
  if (thread.TraceSaveError.empty()) return;
  board.Print(stderr, "warning: " + (port.empty() ? "" : PrintablePortName(port) + ": ") +
                          "the trace could not be saved: " + thread.TraceSaveError + "\n");
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
  job.Prepare(thread);
  const TJobWatch watch({[&thread] { thread.RequestStop(); }, [&thread] { thread.SerialPort.ReleaseExclusiveUse(); },
                         Notice(board), job.StopMessage});
  const TClock::time_point started = TClock::now();
  try {
    if (!thread.StartJob(job.Code)) throw std::logic_error("a new worker refused its first job");
  } catch (const std::system_error& error) {
    throw TRackStartError(std::string("could not start a worker for the printer: ") + error.what());
  }
  while (!thread.JobDone.Wait(1000)) {
  }
  const double seconds = std::chrono::duration<double>(TClock::now() - started).count();
  board.Clear();
  WarnAfterJob(board, "", thread);
  const TPrinterOutcome outcome = Outcome(context, job, port, thread, seconds, host.TraceFilePath());
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
  for (size_t i = 0; i < rack.Size(); ++i) job.Prepare(rack.Thread(i));
  std::vector<std::string> labels;
  for (const std::string& port : context.Ports) labels.push_back(PrintablePortName(port));
  TProgressBoard board(ProgressStream(context.Options), labels);
  std::vector<TPrinterOutcome> outcomes(rack.Size());
  const auto finished = [&](size_t i) {
    board.Finish(i);
    outcomes[i] = Outcome(context, job, rack.PortName(i), rack.Thread(i), rack.Seconds(i), rack.TracePath(i));
    WarnAfterJob(board, rack.PortName(i), rack.Thread(i));
    if (context.Options.Json) board.Print(stdout, OutcomeJson(outcomes[i]) + "\n");
    else if (!context.Options.Quiet || outcomes[i].Result != kResultOk) board.Print(stdout, RackOutcomeText(outcomes[i]));
  };
  {
    const TJobWatch watch({[&rack] { rack.RequestStop(); },
                           [&rack] {
                             for (size_t i = 0; i < rack.Size(); ++i) rack.Thread(i).SerialPort.ReleaseExclusiveUse();
                           },
                           Notice(board), job.StopMessage});
    rack.Run(job.Code, [&board](size_t i, int32_t done, int32_t total) { board.Update(i, done, total); }, finished);
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
