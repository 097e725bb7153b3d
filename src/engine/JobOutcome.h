// How a job ended, as a plain value: what the worker hands to its owner, and all that the
// texts for people (the report library) read of a job. Headers only.
#pragma once

#include <cstdint>
#include <string>

#include "link/LineFailure.h"

namespace printset {

// How a job ended, as the worker hands it to its owner.
struct TJobOutcome {
  uint8_t ResultCode = 0;
  std::string DeviceIdentity;  // as the printer sent it; empty when it never answered
  // The rate the printer answered identify at; 0 when it did not, or on a line without a
  // rate (UDP).
  int32_t BaudRate = 0;
  // No printer answered identify at any rate of the target's SearchRates: every rate
  // was tried.
  bool EveryRateTried = false;
  std::string OpenError;       // why the port did not open, in the system's words
  std::string LastTraceLine;   // the trace's last line: the error after result code 9
  std::string TraceSaveError;  // set when "debug.log" could not be written
  int64_t BytesAcknowledged = 0;
  int64_t BytesToSend = 0;
  // Programming failed after the printer took a block and before it acknowledged the
  // last block and the end of programming: its firmware is then neither the old nor the
  // new one, and the image must be programmed again.
  bool FirmwareIncomplete = false;
  // Every block of the job's data was acknowledged (and, programming, its end too).
  bool TransferComplete = false;
  // A baud switch the printer did not answer: the rate it asked for and the rate the
  // line stayed at; both 0 when every switch sent was answered.
  int32_t SwitchUnansweredRate = 0;
  int32_t SwitchStayedRate = 0;
  // The line's rate while the job's blocks went out; 0 before any block, and over UDP.
  int32_t BlockRate = 0;
  // What the line did wrong under the last request that failed for it: a send the system
  // refused or the port lost, in the system's words. Kind None when only replies were
  // missing.
  TLineFailure LinkFailure;
};

}  // namespace printset
