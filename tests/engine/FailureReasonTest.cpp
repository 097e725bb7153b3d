// What the operator is told after a job failed, through the real worker against a printer
// (or a line) that fails in each way: the reason names what happened, and its hints fit
// the port and the run.
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "engine/Commands.h"
#include "report/JobReason.h"
#include "settings/BaudRates.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

enum class TReasonJob { Set, Program, Download };

// Requests of a programming job at 9600, by index: identify, baud switch, programming
// mode, then one firmware block per request.
constexpr size_t kFirstBlock = 3;
constexpr size_t kImageSize = 8 * 256;
constexpr uint32_t kDownloadBase = 0x2000;

struct TReasonRow {
  const char* Name;
  TReasonJob Job;
  bool Udp;
  TSimFaults Printer;
  bool SearchRates;  // every rate is tried when identify gets no reply at 9600
  TReasonFrontEnd FrontEnd;
  uint8_t Expected;
  // Lines the reason holds, "{port}" standing for the port's name; and text it must not hold.
  std::vector<std::string> Says;
  std::vector<std::string> NeverSays;
  bool FirmwareIncomplete = false;
};

void PrintTo(const TReasonRow& row, std::ostream* out) { *out << row.Name; }

TSimFaults Silent(uint16_t command) {
  TSimFaults f;
  f.NoReplyCommands = {command};
  return f;
}
TSimFaults With(TSimFaults f, size_t request, TSimStep step) {
  f.Script[request] = step;
  return f;
}
TSimStep HangUp() { TSimStep s; s.HangUp = true; return s; }
TSimStep Gone() { TSimStep s; s.Vanish = true; return s; }
TSimStep Stall() { TSimStep s; s.StallLine = true; return s; }

const std::string kSerialUnanswered =
    "no printer answered on {port}: check that it is switched on, its cable, the port and the baud rate";
const std::string kLost = "the port was lost: Input/output error";
const std::string kSwitchLost = "the switch to 115200 baud got no reply; the line stayed at 9600 baud";

const TReasonRow kRows[] = {
    {"SilentSerialPrinter", TReasonJob::Set, false, Silent(kCommandIdentify), false, TReasonFrontEnd::CommandLine,
     kResultNoValidReply, {kSerialUnanswered + " (printset-cli detect finds the port and the rate)"}, {}},
    {"SilentSerialPrinterInTheWindow", TReasonJob::Set, false, Silent(kCommandIdentify), false,
     TReasonFrontEnd::Window, kResultNoValidReply, {kSerialUnanswered + " (Search other rates tries every rate)"},
     {"printset-cli"}},
    // Every rate tried: searching again would find nothing.
    {"SilentSerialPrinterAtEveryRate", TReasonJob::Set, false, Silent(kCommandIdentify), true,
     TReasonFrontEnd::CommandLine, kResultNoValidReply,
     {"no printer answered on {port} at any rate: check that it is switched on, its cable and the port"},
     {"detect", "Search", "baud rate"}},
    {"SilentUdpPrinter", TReasonJob::Set, true, Silent(kCommandIdentify), false, TReasonFrontEnd::CommandLine,
     kResultNoValidReply,
     {"no printer answered at TCP/IP: check the printer's address, that it is switched on, and the network"},
     {"cable", "baud", "detect"}},
    // The switch to the transfer rate goes unanswered; every block then goes at 9600.
    {"BaudSwitchUnansweredProgram", TReasonJob::Program, false, Silent(kCommandSwitchBaud), false,
     TReasonFrontEnd::CommandLine, kResultNoValidReply,
     {kSwitchLost, "every block was acknowledged at 9600 baud"}, {"incomplete", "no printer answered"}},
    {"BaudSwitchUnansweredDownload", TReasonJob::Download, false, Silent(kCommandSwitchBaud), false,
     TReasonFrontEnd::CommandLine, kResultNoValidReply,
     {kSwitchLost, "every block was acknowledged at 9600 baud"}, {"incomplete"}},
    {"BaudSwitchUnansweredThenPrinterGone", TReasonJob::Program, false,
     With(Silent(kCommandSwitchBaud), kFirstBlock + 2, Gone()), false, TReasonFrontEnd::CommandLine,
     kResultNoValidReply,
     {kSwitchLost, "512 of 2048 bytes were acknowledged at 9600 baud",
      "the printer's firmware is incomplete (512 of 2048 bytes acknowledged): program the image again"},
     {"every block"}, true},
    // A USB adapter pulled out during the transfer.
    {"PortLostDuringTheTransfer", TReasonJob::Program, false, With({}, kFirstBlock + 2, HangUp()), false,
     TReasonFrontEnd::CommandLine, kResultNoValidReply,
     {kLost, "check that its cable or adapter is still plugged in",
      "the printer's firmware is incomplete (512 of 2048 bytes acknowledged): program the image again"},
     {"no printer answered", "switch"}, true},
    // ... and while the printer is asked to switch to the transfer rate, a request sent once.
    {"PortLostAtTheBaudSwitch", TReasonJob::Program, false, With({}, 1, HangUp()), false,
     TReasonFrontEnd::CommandLine, kResultNoValidReply, {kLost}, {"switch", "programming mode", "incomplete"}},
    // ... and during the search for the printer's rate, at its third rate.
    {"PortLostDuringTheRateSearch", TReasonJob::Set, false, With(Silent(kCommandIdentify), 4, HangUp()), true,
     TReasonFrontEnd::CommandLine, kResultNoValidReply, {kLost}, {"could not follow", "no printer answered"}},
    // The line stops taking bytes: the system refuses the send.
    {"SendRefused", TReasonJob::Program, false, With({}, kFirstBlock + 1, Stall()), false,
     TReasonFrontEnd::CommandLine, kResultNoValidReply,
     {"could not send to the printer: the line took ", "check that it is switched on, its cable and the port"},
     {"no printer answered", "baud rate"}, true},
};

class FailureReason : public TEngineTest, public ::testing::WithParamInterface<TReasonRow> {};

// The lines of `text`, split at its line ends.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST_P(FailureReason, NamesWhatHappenedWithHintsThatFitThePortAndTheRun) {
  const TReasonRow& row = GetParam();
  if (row.Udp) UseUdp();
  Sim.SetFaults(row.Printer);
  if (row.SearchRates) Inputs.Target.SearchRates.assign(kBaudRates.begin(), kBaudRates.end());
  uint8_t job = JobSetParameters;
  switch (row.Job) {
    case TReasonJob::Set:
      Inputs.Block = {0x00, 0x00, 0x4B, 0x00, 0x07, 0x26, 0x12, 0x08};
      break;
    case TReasonJob::Program:
      Inputs.Image = ValidFirmwareImage(kImageSize);
      job = JobProgramFirmware;
      break;
    case TReasonJob::Download:
      Inputs.Downloads.push_back(
          {"logo.bin", "logo.bin", 45, kDownloadBase, std::make_shared<const Bytes>(Pattern(3 * 256, 5))});
      job = JobDownloadFiles;
      break;
  }
  EXPECT_EQ(Run(job), row.Expected);
  const TJobOutcome outcome = Outcome();
  const std::string port = Inputs.Target.PortName;
  const std::string reason = JobFailureReason(outcome, port, {row.FrontEnd});
  const std::vector<std::string> lines = Lines(reason);
  for (std::string said : row.Says) {
    if (const size_t at = said.find("{port}"); at != std::string::npos) said.replace(at, 6, port);
    // A line begins with it: the reason's own lines, not a piece of another.
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(said, 0) == 0; }))
        << "missing: " << said << "\nreason:\n" << reason << "\n" << ReadText("debug.log");
  }
  for (const std::string& never : row.NeverSays) EXPECT_EQ(reason.find(never), std::string::npos) << reason;
  EXPECT_EQ(outcome.FirmwareIncomplete, row.FirmwareIncomplete) << reason;
}

INSTANTIATE_TEST_SUITE_P(Rows, FailureReason, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace printset
