// Outcome of a job, as the worker leaves it in ResultCode. 0 is success.
#pragma once

#include <cstdint>

namespace printset {

enum TResultCode : uint8_t {
  kResultOk = 0,
  kResultPortNotOpened = 1,
  kResultNoValidReply = 3,
  kResultLocalBaudFailed = 4,
  kResultIdentityRejected = 5,
  kResultDownloadModeRefused = 7,
  kResultProgramModeRefused = 8,
  // The job stopped on an unexpected error (unreadable file, bad number text, socket
  // error); the last line of "debug.log" names it.
  kResultJobError = 9,
  // The owner asked the job to stop (RequestStop); it stopped between two requests, closed
  // the link, and the last line of "debug.log" says so.
  kResultCancelled = 10,
};

}  // namespace printset
