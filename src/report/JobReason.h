// Why a job failed, in the words both front ends show beneath their "ERROR".
#pragma once

#include <string>

#include "engine/Job.h"

namespace printset {

// The reason for a job's `outcome`: the meaning
// of its result code and "(result code N)" on the first line, then, a line each, what
// the worker knows beyond the code: the system's reason the port did not open (when it
// is "Permission denied", a hint naming the group that owns the device; when ModemManager
// is installed or running and the device was refused or busy, a word about it), the
// identity the printer sent when it was not accepted (non-printing bytes as \xNN) and
// the identities that are, a hint on power, cable, port and rate when no printer
// answered identify, the last trace line when the job stopped on an
// error, and, after a programming that failed once the printer had taken a block, that
// the firmware is incomplete. `deviceName` is the device the port name stood for, named
// with the system's reason. Empty after success.
std::string JobFailureReason(const TJobOutcome& outcome, const std::string& deviceName);

// "the printer's firmware is incomplete (N of M bytes acknowledged): program the image
// again", for an outcome whose FirmwareIncomplete is set.
std::string IncompleteFirmwareText(const TJobOutcome& outcome);

}  // namespace printset
