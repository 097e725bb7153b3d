// Why a job failed, in the words both front ends show beneath their "ERROR".
#pragma once

#include <string>

#include "engine/JobOutcome.h"

namespace printset {

// Which front end shows the reason: each points to its own way of searching the rates.
enum class TReasonFrontEnd { CommandLine, Window };

struct TReasonOptions {
  TReasonFrontEnd FrontEnd = TReasonFrontEnd::CommandLine;
};

// The reason for a job's `outcome`: the meaning of its result code and "(result code N)"
// on the first line, then, a line each, what the worker knows beyond the code: the
// system's reason the port did not open (when it is "Permission denied", a hint naming
// the group that owns the device; when ModemManager is installed or running and the
// device was refused or busy, a word about it); the port lost during the job or a send
// the system refused, in its words; the identity the printer sent when it was not
// accepted (non-printing bytes as \xNN) and the identities that are; when no printer
// answered identify, what to check on that kind of port (UDP: the address, power, the
// network; serial: power, cable, port and rate, and how to search the rates unless every
// rate was tried); a baud switch that got no reply, with what was acknowledged at which
// rate; the last trace line when the job stopped on an error; and, after a programming
// that failed once the printer had taken a block, that the firmware is incomplete.
// `deviceName` is the device the port name stood for (a network port name stays as it
// is), named with the system's reason. Empty after success. Never fails.
std::string JobFailureReason(const TJobOutcome& outcome, const std::string& deviceName,
                             const TReasonOptions& options = {});

// "the printer's firmware is incomplete (N of M bytes acknowledged): program the image
// again", for an outcome whose FirmwareIncomplete is set.
std::string IncompleteFirmwareText(const TJobOutcome& outcome);

}  // namespace printset
