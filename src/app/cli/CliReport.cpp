#include "CliReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CliJson.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "report/ResultText.h"

namespace printset {

namespace {

// The reason's first line follows "ERROR...: "; what the worker knows beyond it is indented.
std::string IndentedReason(std::string reason) {
  for (size_t newline = reason.find('\n'); newline != std::string::npos; newline = reason.find('\n', newline + 3))
    reason.replace(newline, 1, "\n  ");
  return reason;
}

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f s", seconds);
  return text;
}

std::string Status(const TPrinterOutcome& outcome) {
  return outcome.Result == kResultOk ? "OK" : "ERROR " + std::to_string(outcome.Result);
}

}  // namespace

std::string SingleOutcomeText(const TPrinterOutcome& outcome) {
  if (outcome.Result == kResultOk) return "OK\n";
  return "ERROR: " + IndentedReason(outcome.Reason) + "\n";
}

std::string RackOutcomeText(const TPrinterOutcome& outcome) {
  const std::string port = PrintablePortName(outcome.Port);
  if (outcome.Result == kResultOk) return port + ": OK (" + Seconds(outcome.Seconds) + ")\n";
  return port + ": ERROR (" + Seconds(outcome.Seconds) + "): " + IndentedReason(outcome.Reason) + "\n";
}

std::string RackSummaryText(const std::vector<TPrinterOutcome>& outcomes) {
  const size_t ok = static_cast<size_t>(std::count_if(outcomes.begin(), outcomes.end(), [](const TPrinterOutcome& o) {
    return o.Result == kResultOk;
  }));
  size_t statusWidth = 0;
  size_t portWidth = 0;
  for (const TPrinterOutcome& outcome : outcomes) {
    statusWidth = std::max(statusWidth, Status(outcome).size());
    portWidth = std::max(portWidth, PrintablePortName(outcome.Port).size());
  }
  std::string text = "Summary: " + std::to_string(ok) + " of " + std::to_string(outcomes.size()) + " printers OK, " +
                     std::to_string(outcomes.size() - ok) + " failed\n";
  for (const TPrinterOutcome& outcome : outcomes) {
    const std::string status = Status(outcome);
    const std::string port = PrintablePortName(outcome.Port);
    text += "  " + status + std::string(statusWidth - status.size(), ' ') + "  " + port +
            std::string(portWidth - port.size(), ' ') + "  " + PrintablePortName(outcome.TracePath) + "\n";
  }
  return text;
}

std::string OutcomeJson(const TPrinterOutcome& outcome) {
  TJson object = JsonObject();
  object["port"] = outcome.Port;
  object["operation"] = outcome.Operation;
  object["result"] = outcome.Result;
  object["meaning"] = ResultCodeMeaning(outcome.Result);
  object["reason"] = outcome.Reason;
  object["baud"] = outcome.Baud ? TJson(*outcome.Baud) : TJson(nullptr);
  object["bytes"] = outcome.Bytes;
  object["size"] = outcome.Size;
  object["firmware_incomplete"] = outcome.FirmwareIncomplete;
  object["seconds"] = std::round(outcome.Seconds * 1000) / 1000;  // to the millisecond
  AddIdentity(object, outcome.Identity);
  object["trace"] = outcome.TracePath;
  return JsonLine(object);
}

std::string SummaryJson(const std::string& verb, const std::vector<TPrinterOutcome>& outcomes,
                        const std::string& runId) {
  TJson object = JsonObject();
  object["operation"] = "summary";
  object["verb"] = verb;
  if (!runId.empty()) object["run"] = runId;
  TJson failedPorts = TJson::array();
  TJson incomplete = TJson::array();
  bool cancelled = false;
  for (const TPrinterOutcome& outcome : outcomes) {
    if (outcome.FirmwareIncomplete) incomplete.push_back(outcome.Port);
    if (outcome.Result == kResultOk) continue;
    cancelled = cancelled || outcome.Result == kResultCancelled;
    TJson failed;
    failed["port"] = outcome.Port;
    failed["result"] = outcome.Result;
    failed["meaning"] = ResultCodeMeaning(outcome.Result);
    if (!outcome.Step.empty()) failed["step"] = outcome.Step;  // a recipe's step that failed
    failedPorts.push_back(failed);
  }
  object["total"] = outcomes.size();
  object["ok"] = outcomes.size() - failedPorts.size();
  object["failed"] = failedPorts.size();
  object["cancelled"] = cancelled;
  object["failed_ports"] = failedPorts;
  object["firmware_incomplete"] = incomplete;
  return JsonLine(object);
}

}  // namespace printset
