// "detect": at which rate, and with which identity, a printer answers on each port. Only
// identify requests are sent, so detecting never changes a printer.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliJob.h"
#include "CliJson.h"
#include "CliReport.h"
#include "CliSignals.h"
#include "CliVerbose.h"
#include "engine/PrinterIdentity.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "frontend/LinkTarget.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"
#include "report/JobReason.h"
#include "report/ResultText.h"

namespace printset {

namespace {

constexpr size_t kRateWidth = 6;  // "115200"

// What one port gave, as printed.
struct TFound {
  std::string Port;
  TJobOutcome Outcome;
  bool Accepted = false;
  std::string Reason;  // why nothing was found; empty when a printer answered
  double Seconds = 0;
  std::string TracePath;
};

bool Answered(const TJobOutcome& outcome) {
  return outcome.ResultCode == kResultOk || outcome.ResultCode == kResultIdentityRejected;
}

// "PORT  RATE baud  "IDENTITY"  accepted", or "PORT  no printer: REASON".
std::string FoundText(const TFound& found, size_t portWidth) {
  const std::string port = PrintablePortName(found.Port);
  std::string line = port + std::string(portWidth - port.size(), ' ') + "  ";
  if (!Answered(found.Outcome)) {
    std::string reason = found.Reason;
    for (size_t at = reason.find('\n'); at != std::string::npos; at = reason.find('\n', at + 2)) reason.replace(at, 1, "; ");
    return line + "no printer: " + reason + "\n";
  }
  if (found.Outcome.BaudRate > 0) {
    const std::string rate = std::to_string(found.Outcome.BaudRate);
    line += std::string(kRateWidth - std::min(kRateWidth, rate.size()), ' ') + rate + " baud  ";
  }
  line += "\"" + PrintableBytes(found.Outcome.DeviceIdentity, true) + "\"  ";
  line += found.Accepted ? "accepted" : "not accepted (accepted are " + AcceptedIdentityList() + ")";
  return line + "\n";
}

std::string FoundJson(const TFound& found) {
  const bool answered = Answered(found.Outcome);
  TJson object = JsonObject();
  object["port"] = found.Port;
  object["operation"] = "detect";
  object["result"] = found.Outcome.ResultCode;
  object["meaning"] = ResultCodeMeaning(found.Outcome.ResultCode);
  object["reason"] = found.Reason;
  object["baud"] = answered && found.Outcome.BaudRate > 0 ? TJson(found.Outcome.BaudRate) : TJson(nullptr);
  AddIdentity(object, answered ? std::optional<std::string>(found.Outcome.DeviceIdentity) : std::nullopt);
  object["accepted"] = found.Accepted;
  object["seconds"] = std::round(found.Seconds * 1000) / 1000;
  object["trace"] = found.TracePath;
  return JsonLine(object);
}

}  // namespace

int RunDetectVerb(TCliContext& context) {
  const bool listed = context.Options.Ports.empty() && context.Options.PortFiles.empty();
  if (listed) {
    context.Options.Ports = ListedSerialPorts();
    if (context.Options.Ports.empty()) {
      std::fputs("printset-cli: no serial port found; name one with --port\n", stderr);
      return kResultNoValidReply;
    }
  }
  ResolvePorts(context);
  static_cast<void>(StationRun());  // the run starts now: its id and start are fixed here
  TRackSettings settings = RackTarget(SearchingEveryRate(context.Rate), context.Link, context.Paths.StateFolder);
  if (context.Options.Verbose) settings.TraceObserver = StderrTraceObserver(context.Ports);
  TRack rack(context.Ports, settings);
  {
    const TJobWatch watch({[&rack] { rack.RequestStop(); }, [&rack] { rack.ReleaseLines(); }, {}, {}});
    rack.Run(RateSearchRequest().Job(), nullptr, nullptr);
  }
  std::vector<TFound> found(rack.Size());
  size_t portWidth = 0;
  for (size_t i = 0; i < rack.Size(); ++i) {
    TFound& port = found[i];
    port.Port = rack.PortName(i);
    port.Outcome = rack.Outcome(i);
    port.Accepted = port.Outcome.ResultCode == kResultOk;
    if (port.Outcome.ResultCode == kResultNoValidReply && port.Outcome.LinkFailure.Kind == TLineFailureKind::None)
      port.Reason = ParseNetworkPortName(port.Port).IsNetwork ? "no answer" : "no answer at any rate";
    else if (!Answered(port.Outcome))
      port.Reason = JobFailureReason(port.Outcome, ResolvePortName(port.Port, settings.Ports));
    port.Seconds = rack.Seconds(i);
    port.TracePath = rack.TracePath(i);
    portWidth = std::max(portWidth, PrintablePortName(port.Port).size());
  }
  std::vector<TPrinterOutcome> records;
  for (const TFound& port : found) {
    TPrinterOutcome record;
    record.Port = port.Port;
    record.Result = port.Outcome.ResultCode;
    record.Reason = port.Reason;
    record.Seconds = port.Seconds;
    if (port.Outcome.BaudRate > 0) record.Baud = port.Outcome.BaudRate;
    if (Answered(port.Outcome)) record.Identity = port.Outcome.DeviceIdentity;
    record.TracePath = port.TracePath;
    std::string keepError;
    record.KeptTrace =
        KeepRunTrace(StationRun(), context.Paths.StateFolder, port.TracePath, RackTraceFileName(port.Port), keepError);
    records.push_back(record);
  }
  RecordCliRun(context, "detect", {}, records);
  size_t accepted = 0;
  bool cancelled = false;
  for (const TFound& port : found) {
    accepted += port.Accepted;
    cancelled = cancelled || port.Outcome.ResultCode == kResultCancelled;
    if (context.Options.Json) std::printf("%s\n", FoundJson(port).c_str());
    else if (!context.Options.Quiet || !port.Accepted) std::fputs(FoundText(port, portWidth).c_str(), stdout);
  }
  if (context.Options.Json && found.size() > 1) {
    std::vector<TPrinterOutcome> outcomes(found.size());
    for (size_t i = 0; i < found.size(); ++i) {
      outcomes[i].Port = found[i].Port;
      outcomes[i].Result = found[i].Outcome.ResultCode;
    }
    std::printf("%s\n", SummaryJson("detect", outcomes, StationRun().Id).c_str());
  }
  std::fflush(stdout);
  if (cancelled) return kResultCancelled;
  // Every port named has an accepted printer; of the ports listed, at least one has.
  if (accepted == found.size() || (listed && accepted > 0)) return kResultOk;
  if (found.size() == 1) return found.front().Outcome.ResultCode;
  return accepted == 0 ? kResultNoValidReply : kExitSomePrintersFailed;
}

}  // namespace printset
