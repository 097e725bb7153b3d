#include "report/JobReason.h"

#include <cstdio>

#include "engine/PrinterIdentity.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "report/OpenFailureHint.h"
#include "report/ResultText.h"

namespace printset {

std::string JobFailureReason(const TJobOutcome& outcome, const std::string& deviceName) {
  const uint8_t code = outcome.ResultCode;
  if (code == kResultOk) return {};
  std::string reason = std::string(ResultCodeMeaning(code)) + " (result code " + std::to_string(code) + ")";
  if (code == kResultPortNotOpened && !outcome.OpenError.empty()) {
    reason += "\n" + PrintablePortName(deviceName) + ": " + outcome.OpenError +
              OpenFailureHint(deviceName, outcome.OpenError);
  }
  if (code == kResultNoValidReply && outcome.DeviceIdentity.empty())
    reason += "\nno printer answered on " + PrintablePortName(deviceName) +
              ": check that it is switched on, its cable, the port and the baud rate"
              " (printset-cli detect finds the port and the rate)";
  if (code == kResultIdentityRejected)
    reason += "\nthe printer answered as \"" + PrintableBytes(outcome.DeviceIdentity, true) +
              "\"; accepted are " + AcceptedIdentityList();
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
