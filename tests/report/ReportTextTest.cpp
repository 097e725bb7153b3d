// The texts both front ends show for a job's outcome and its progress, row by row.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "engine/JobOutcome.h"
#include "engine/ResultCodes.h"
#include "report/JobReason.h"
#include "report/ProgressText.h"

namespace printset {
namespace {

constexpr TReasonFrontEnd kCli = TReasonFrontEnd::CommandLine;
constexpr TReasonFrontEnd kWindow = TReasonFrontEnd::Window;

struct TReasonRow {
  const char* What;
  std::function<void(TJobOutcome&)> Outcome;
  const char* Device;
  TReasonFrontEnd FrontEnd;
  const char* Reason;
};

TJobOutcome Ended(uint8_t code) {
  TJobOutcome outcome;
  outcome.ResultCode = code;
  return outcome;
}

std::function<void(TJobOutcome&)> Code(uint8_t code) {
  return [code](TJobOutcome& o) { o = Ended(code); };
}

const TReasonRow kReasonRows[] = {
    {"success says nothing", Code(kResultOk), "/dev/ttyS0", kCli, ""},
    {"a code no job ends with", Code(2), "/dev/ttyS0", kCli, "unknown result (result code 2)"},
    {"the port did not open, in the system's words",
     [](TJobOutcome& o) { o = Ended(kResultPortNotOpened); o.OpenError = "No such file or directory"; },
     "/dev/ttyUSB7", kCli,
     "the port could not be opened (result code 1)\n/dev/ttyUSB7: No such file or directory"},
    {"no answer on a serial port: the command line points to detect", Code(kResultNoValidReply), "/dev/ttyS0", kCli,
     "no valid reply from the printer (result code 3)\nno printer answered on /dev/ttyS0: check that it is switched "
     "on, its cable, the port and the baud rate (printset-cli detect finds the port and the rate)"},
    {"no answer on a serial port: the window points to its search", Code(kResultNoValidReply), "/dev/ttyS0", kWindow,
     "no valid reply from the printer (result code 3)\nno printer answered on /dev/ttyS0: check that it is switched "
     "on, its cable, the port and the baud rate (Search other rates tries every rate)"},
    {"no answer at any rate: nothing left to search",
     [](TJobOutcome& o) { o = Ended(kResultNoValidReply); o.EveryRateTried = true; }, "/dev/ttyS0", kWindow,
     "no valid reply from the printer (result code 3)\nno printer answered on /dev/ttyS0 at any rate: check that it "
     "is switched on, its cable and the port"},
    {"no answer over UDP: the address and the network", Code(kResultNoValidReply), "TCP/IP:10.0.0.5", kWindow,
     "no valid reply from the printer (result code 3)\nno printer answered at TCP/IP:10.0.0.5: check the printer's "
     "address, that it is switched on, and the network"},
    {"a reply without a line failure or silence adds nothing",
     [](TJobOutcome& o) { o = Ended(kResultNoValidReply); o.DeviceIdentity = "PRN 7401"; }, "/dev/ttyS0", kCli,
     "no valid reply from the printer (result code 3)"},
    {"the port lost during the job",
     [](TJobOutcome& o) {
       o = Ended(kResultNoValidReply); o.LinkFailure = {TLineFailureKind::PortLost, "Input/output error"};
     },
     "/dev/ttyUSB0", kCli,
     "no valid reply from the printer (result code 3)\nthe port was lost: Input/output error\ncheck that its cable "
     "or adapter is still plugged in"},
    {"a send refused over UDP",
     [](TJobOutcome& o) {
       o = Ended(kResultNoValidReply); o.LinkFailure = {TLineFailureKind::SendRefused, "Network is unreachable"};
     },
     "TCP/IP", kCli,
     "no valid reply from the printer (result code 3)\ncould not send to the printer: Network is unreachable\ncheck "
     "the printer's address, that it is switched on, and the network"},
    {"the new rate the port could not follow", Code(kResultLocalBaudFailed), "/dev/ttyS0", kCli,
     "the printer took the new baud rate but the port could not follow (result code 4)"},
    {"an identity not accepted, its bytes printable",
     [](TJobOutcome& o) { o = Ended(kResultIdentityRejected); o.DeviceIdentity = std::string("AB\\C\x01", 5); },
     "/dev/ttyS0", kCli,
     "the printer's identity is not accepted (result code 5)\nthe printer answered as \"AB\\x5CC\\x01\"; accepted "
     "are \"PRN 7401\", \"PRN 74XX\""},
    {"download mode refused", Code(kResultDownloadModeRefused), "/dev/ttyS0", kCli,
     "the printer did not enter download mode (result code 7)"},
    {"programming mode refused, the firmware left incomplete",
     [](TJobOutcome& o) {
       o = Ended(kResultProgramModeRefused); o.FirmwareIncomplete = true; o.BytesAcknowledged = 512;
       o.BytesToSend = 2048;
     },
     "/dev/ttyS0", kWindow,
     "the printer did not enter programming mode (result code 8)\nthe printer's firmware is incomplete (512 of 2048 "
     "bytes acknowledged): program the image again"},
    {"a job error names the trace's last line",
     [](TJobOutcome& o) { o = Ended(kResultJobError); o.LastTraceLine = "cannot read logo.bin"; }, "/dev/ttyS0", kCli,
     "the job stopped on an error (see debug.log) (result code 9)\ncannot read logo.bin"},
    {"cancelled", Code(kResultCancelled), "/dev/ttyS0", kWindow, "the job was cancelled (result code 10)"},
    {"a baud switch without a reply, part of the blocks acknowledged",
     [](TJobOutcome& o) {
       o = Ended(kResultNoValidReply); o.DeviceIdentity = "PRN 7401"; o.SwitchUnansweredRate = 115200;
       o.SwitchStayedRate = 9600; o.BlockRate = 9600; o.BytesAcknowledged = 256; o.BytesToSend = 1024;
     },
     "/dev/ttyS0", kCli,
     "no valid reply from the printer (result code 3)\nthe switch to 115200 baud got no reply; the line stayed at "
     "9600 baud\n256 of 1024 bytes were acknowledged at 9600 baud"},
    {"a baud switch without a reply after every block and the end of programming",
     [](TJobOutcome& o) {
       o = Ended(kResultNoValidReply); o.DeviceIdentity = "PRN 7401"; o.SwitchUnansweredRate = 9600;
       o.SwitchStayedRate = 115200; o.BlockRate = 115200; o.TransferComplete = true;
     },
     "/dev/ttyS0", kCli,
     "no valid reply from the printer (result code 3)\nthe switch to 9600 baud got no reply; the line stayed at "
     "115200 baud\nevery block was acknowledged at 115200 baud"},
};

TEST(ReportText, JobReasonPerResultCodeAndFrontEnd) {
  for (const TReasonRow& row : kReasonRows) {
    TJobOutcome outcome;
    row.Outcome(outcome);
    EXPECT_EQ(JobFailureReason(outcome, row.Device, {row.FrontEnd}), row.Reason) << row.What;
  }
}

struct TProgressRow {
  int32_t Done;
  int32_t Total;
  std::optional<std::string> Text;
};

TEST(ReportText, ProgressInTenthsOfAPercentAndBlocksOf256Bytes) {
  const TProgressRow rows[] = {
      {0, 0, std::nullopt},
      {0, 51200, "Finished: 0.0%(0/200)"},
      {12800, 51200, "Finished: 25.0%(50/200)"},
      {1, 3, "Finished: 33.3%(0/0)"},  // tenths are cut, not rounded
      {2, 3, "Finished: 66.6%(0/0)"},
      {51200, 51200, "Finished: 100.0%(200/200)"},
      {60000, 51200, "Finished: 100.0%(234/200)"},  // more done than the total
      {2147483647, 2147483647, "Finished: 100.0%(8388607/8388607)"},  // no overflow in the ratio
  };
  for (const TProgressRow& row : rows)
    EXPECT_EQ(FormatProgress(row.Done, row.Total), row.Text) << row.Done << " of " << row.Total;
}

}  // namespace
}  // namespace printset
