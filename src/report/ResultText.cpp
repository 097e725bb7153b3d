#include "report/ResultText.h"

#include "engine/ResultCodes.h"

namespace printset {

const char* ResultCodeMeaning(uint8_t code) {
  switch (code) {
    case kResultOk: return "success";
    case kResultPortNotOpened: return "the port could not be opened";
    case kResultNoValidReply: return "no valid reply from the printer";
    case kResultLocalBaudFailed: return "the printer took the new baud rate but the port could not follow";
    case kResultIdentityRejected: return "the printer's identity is not accepted";
    case kResultDownloadModeRefused: return "the printer did not enter download mode";
    case kResultProgramModeRefused: return "the printer did not enter programming mode";
    case kResultJobError: return "the job stopped on an error (see debug.log)";
    case kResultCancelled: return "the job was cancelled";
    default: return "unknown result";
  }
}

}  // namespace printset
