#include "frontend/ShownOutcome.h"

#include <string_view>

#include "engine/ResultCodes.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"
#include "report/JobReason.h"

namespace printset {

namespace {

bool IsSerial(const TLinkTarget& target) { return !ParseNetworkPortName(target.PortName).IsNetwork; }

std::string DeviceName(const TLinkTarget& target) { return ResolvePortName(target.PortName, target.PortMap); }

std::string WindowReason(const TJobOutcome& outcome, const TLinkTarget& target) {
  return JobFailureReason(outcome, DeviceName(target), {TReasonFrontEnd::Window});
}

// The common part of every outcome: the sound and a trace that could not be saved.
TShownOutcome Shown(const TJobOutcome& outcome, std::string title, std::string reason) {
  TShownOutcome shown;
  shown.Title = std::move(title);
  shown.Reason = std::move(reason);
  shown.Sound = outcome.ResultCode == kResultOk ? kOkSound : kErrorSound;
  if (!outcome.TraceSaveError.empty()) shown.Notes.push_back("the trace could not be saved: " + outcome.TraceSaveError);
  return shown;
}

}  // namespace

std::string TShownOutcome::Beneath() const {
  std::string beneath = Reason;
  for (const std::string& note : Notes) beneath += (beneath.empty() ? "" : "\n") + note;
  return beneath;
}

TShownOutcome OperationOutcome(const TJobOutcome& outcome, const TLinkTarget& target, int32_t newBaudRate) {
  if (outcome.ResultCode == kResultOk) {
    // Once the printer took the block it listens at its new rate: the next operation
    // must use it. A line without a rate (UDP) has nothing to follow.
    if (newBaudRate <= 0 || newBaudRate == target.BaudRate || !IsSerial(target)) return Shown(outcome, "OK", "");
    TShownOutcome shown = Shown(outcome, "OK",
                                "The printer now listens at " + std::to_string(newBaudRate) +
                                    " baud; the BAUD RATE box at the top is set to it.");
    shown.PrinterRate = newBaudRate;
    return shown;
  }
  TShownOutcome shown = Shown(outcome, "ERROR", WindowReason(outcome, target));
  // Nothing answered identify on a serial line that works: the printer may listen at
  // another rate.
  shown.OfferSearch = outcome.ResultCode == kResultNoValidReply && outcome.DeviceIdentity.empty() &&
                      outcome.LinkFailure.Kind == TLineFailureKind::None && IsSerial(target);
  return shown;
}

TShownOutcome SearchOutcome(const TJobOutcome& outcome, const TLinkTarget& target) {
  if (outcome.ResultCode == kResultOk) {
    TShownOutcome shown = Shown(outcome, "Printer found at " + std::to_string(outcome.BaudRate) + " baud",
                                "The BAUD RATE box at the top is set to it: press the button again.");
    shown.PrinterRate = outcome.BaudRate;
    return shown;
  }
  if (outcome.ResultCode == kResultNoValidReply && outcome.LinkFailure.Kind == TLineFailureKind::None)
    return Shown(outcome, "ERROR", "no printer answered on " + PrintablePortName(DeviceName(target)) + " at any rate");
  std::string reason = WindowReason(outcome, target);
  if (outcome.BaudRate > 0) reason += "\nIt answered at " + std::to_string(outcome.BaudRate) + " baud.";
  return Shown(outcome, "ERROR", std::move(reason));
}

std::vector<std::string> RecordWarningNotes(const std::string& warnings) {
  constexpr std::string_view kWarning = "warning: ";
  std::vector<std::string> notes;
  size_t start = 0;
  while (start < warnings.size()) {
    size_t end = warnings.find('\n', start);
    if (end == std::string::npos) end = warnings.size();
    std::string line = warnings.substr(start, end - start);
    if (line.rfind(kWarning, 0) == 0) line.erase(0, kWarning.size());
    if (!line.empty()) notes.push_back(std::move(line));
    start = end + 1;
  }
  return notes;
}

}  // namespace printset
