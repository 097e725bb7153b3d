#include "frontend/PrinterOutcome.h"

#include "engine/ResultCodes.h"
#include "link/PortNames.h"

namespace printset {

TPrinterOutcome PrinterOutcome(const TRequest& request, const std::string& port, const TJobOutcome& ended,
                               double seconds, const std::string& tracePath, const TPortMap& portMap,
                               TReasonFrontEnd frontEnd) {
  TPrinterOutcome outcome;
  outcome.Port = port;
  outcome.Operation = request.Operation();
  outcome.Result = ended.ResultCode;
  if (ended.ResultCode != kResultOk)
    outcome.Reason = JobFailureReason(ended, ResolvePortName(port, portMap), {frontEnd});
  outcome.Bytes = static_cast<uint64_t>(ended.BytesAcknowledged);
  outcome.Size = request.Bytes();
  outcome.FirmwareIncomplete = ended.FirmwareIncomplete;
  outcome.Seconds = seconds;
  if (ended.BaudRate > 0) outcome.Baud = ended.BaudRate;
  if (!ended.DeviceIdentity.empty() || ended.ResultCode == kResultOk || ended.ResultCode == kResultIdentityRejected)
    outcome.Identity = ended.DeviceIdentity;
  outcome.TracePath = tracePath;
  return outcome;
}

}  // namespace printset
