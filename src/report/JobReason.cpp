#include "report/JobReason.h"

#include "engine/PrinterIdentity.h"
#include "engine/ResultCodes.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"
#include "report/OpenFailureHint.h"
#include "report/ResultText.h"

namespace printset {

namespace {

constexpr const char* kNetworkHint = "check the printer's address, that it is switched on, and the network";
constexpr const char* kSerialHint = "check that it is switched on, its cable and the port";

// What to check when no printer answered identify on `device`.
std::string UnansweredText(const TJobOutcome& outcome, const std::string& device, const TReasonOptions& options) {
  const std::string where = PrintablePortName(device);
  if (ParseNetworkPortName(device).IsNetwork) return "no printer answered at " + where + ": " + kNetworkHint;
  if (outcome.EveryRateTried) return "no printer answered on " + where + " at any rate: " + kSerialHint;
  return "no printer answered on " + where + ": check that it is switched on, its cable, the port and the baud rate" +
         (options.FrontEnd == TReasonFrontEnd::Window ? " (Search other rates tries every rate)"
                                                      : " (printset-cli detect finds the port and the rate)");
}

// What the line itself did wrong, and what to check for it. The system's words are shown
// as port names are.
std::string LineFailureText(const TLineFailure& failure, const std::string& device) {
  const std::string words = PrintablePortName(failure.Text);
  if (failure.Kind == TLineFailureKind::PortLost)
    return "the port was lost: " + words + "\ncheck that its cable or adapter is still plugged in";
  return "could not send to the printer: " + words + "\n" +
         (ParseNetworkPortName(device).IsNetwork ? kNetworkHint : kSerialHint);
}

// A baud switch without a reply: the job went on at the line's old rate.
std::string UnansweredSwitchText(const TJobOutcome& outcome) {
  std::string text = "the switch to " + std::to_string(outcome.SwitchUnansweredRate) +
                     " baud got no reply; the line stayed at " + std::to_string(outcome.SwitchStayedRate) + " baud";
  if (outcome.BlockRate == 0) return text;
  const std::string rate = " at " + std::to_string(outcome.BlockRate) + " baud";
  if (outcome.TransferComplete) return text + "\nevery block was acknowledged" + rate;
  // Only programming has a step after its blocks.
  if (outcome.BytesToSend > 0 && outcome.BytesAcknowledged == outcome.BytesToSend)
    return text + "\nevery block was acknowledged" + rate + ", the end of programming was not";
  return text + "\n" + std::to_string(outcome.BytesAcknowledged) + " of " + std::to_string(outcome.BytesToSend) +
         " bytes were acknowledged" + rate;
}

}  // namespace

std::string JobFailureReason(const TJobOutcome& outcome, const std::string& deviceName,
                             const TReasonOptions& options) {
  const uint8_t code = outcome.ResultCode;
  if (code == kResultOk) return {};
  std::string reason = std::string(ResultCodeMeaning(code)) + " (result code " + std::to_string(code) + ")";
  if (code == kResultPortNotOpened && !outcome.OpenError.empty()) {
    reason += "\n" + PrintablePortName(deviceName) + ": " + outcome.OpenError +
              OpenFailureHint(deviceName, outcome.OpenError);
  }
  if (outcome.LinkFailure.Kind != TLineFailureKind::None)
    reason += "\n" + LineFailureText(outcome.LinkFailure, deviceName);
  else if (code == kResultNoValidReply && outcome.DeviceIdentity.empty())
    reason += "\n" + UnansweredText(outcome, deviceName, options);
  if (code == kResultIdentityRejected)
    reason += "\nthe printer answered as \"" + PrintableBytes(outcome.DeviceIdentity, true) +
              "\"; accepted are " + AcceptedIdentityList();
  if (outcome.SwitchUnansweredRate != 0) reason += "\n" + UnansweredSwitchText(outcome);
  // The last trace line may quote operator text (a host that did not resolve).
  if (code == kResultJobError && !outcome.LastTraceLine.empty())
    reason += "\n" + PrintablePortName(outcome.LastTraceLine);
  if (outcome.FirmwareIncomplete) reason += "\n" + IncompleteFirmwareText(outcome);
  return reason;
}

std::string IncompleteFirmwareText(const TJobOutcome& outcome) {
  return "the printer's firmware is incomplete (" + std::to_string(outcome.BytesAcknowledged) + " of " +
         std::to_string(outcome.BytesToSend) + " bytes acknowledged): program the image again";
}

}  // namespace printset
