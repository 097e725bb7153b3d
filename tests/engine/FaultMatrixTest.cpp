// Each job against a printer that misbehaves in the ways real lines do. Every row ends
// either with the printer holding exactly what was sent or with the job failed; never "OK"
// with a difference.
#include <algorithm>

#include "EngineFixture.h"
#include "engine/Commands.h"

namespace printset::fault_matrix {
namespace {

using Bytes = std::vector<uint8_t>;

enum class TJob { Program, Set, Download };

// Requests of a programming job, by index: identify, baud switch (serial only),
// programming mode, then one firmware block per request. A download job at 115200 needs
// no switch: identify, download mode, then its blocks.
constexpr size_t kB = 3;     // the first firmware block, serial
constexpr size_t kBUdp = 2;  // the first firmware block, UDP
constexpr size_t kImageSize = 8 * 256;
constexpr size_t kDownloadSize = 3 * 256;
constexpr uint32_t kDownloadBase = 0x1000;
constexpr int32_t kTransferRate = 115200;

struct TFaultRow {
  const char* Name;
  TJob Job;
  bool Udp;
  std::map<size_t, TSimStep> Script;  // keyed by the request's index in the job
  TSimFaults Printer;                 // standing faults; its Script is replaced by the row's
  uint8_t Expected;
  const char* TraceMark;  // a line of debug.log that shows what happened; "" for none
  size_t Requests = 0;    // when not 0, how many requests the printer must have received
};

void PrintTo(const TFaultRow& row, std::ostream* out) { *out << row.Name; }

TSimStep Late(int ms) { TSimStep s; s.DelayMs = ms; return s; }
TSimStep Lost() { TSimStep s; s.Drop = true; return s; }
TSimStep Twice(int ms) { TSimStep s; s.DuplicateMs = ms; return s; }
TSimStep LateTwice(int ms, int againMs) { TSimStep s = Late(ms); s.DuplicateMs = againMs; return s; }
TSimStep Gone() { TSimStep s; s.Vanish = true; return s; }
TSimStep Stall() { TSimStep s; s.StallLine = true; return s; }
TSimStep Oversize(int length) { TSimStep s; s.OversizeLength = length; return s; }

TSimFaults Foreign() { TSimFaults f; f.ForeignReplies = true; return f; }
TSimFaults Unanswered(uint16_t command) { TSimFaults f; f.NoReplyCommands = {command}; return f; }
TSimFaults Headers(TSimHeaders headers, uint16_t command = 0, uint32_t argument = 0) {
  TSimFaults f;
  f.Headers = headers;
  f.FixedCommand = command;
  f.FixedArgument = argument;
  return f;
}

const char* const kIdentifySkipped = "Skip: reply cmd=0x0020 arg=0x00000000 belongs to another request";
const char* const kIdentityCopySkipped = "Skip: reply cmd=0x0020 arg=0x00000000 repeats another request's reply";

const TFaultRow kRows[] = {
    // Block 2 is answered after its 600 ms limit; the retry's own reply then arrives
    // while block 3 is out, and block 3's first request is lost.
    {"LateReplyThenLostRequest", TJob::Program, false, {{kB + 2, Late(750)}, {kB + 4, Lost()}}, {},
     kResultOk, ""},
    // Block 1's reply comes twice; the copy arrives while block 2 (lost) waits.
    {"DuplicateReplyThenLostRequest", TJob::Program, false, {{kB + 1, Twice(30)}, {kB + 2, Lost()}}, {},
     kResultOk, "Skip: reply cmd=0x002E arg=0x00000100 belongs to another request"},
    // Block 1 is lost, and another host answers it in the printer's place.
    {"ForeignUdpSender", TJob::Program, true, {{kBUdp + 1, Lost()}}, Foreign(), kResultOk, ""},
    // A reply too long for the receive buffer, then the retry's good one.
    {"OversizeReplyThenGoodReply", TJob::Program, false, {{kB + 1, Oversize(3000)}}, {}, kResultOk,
     "Drained 3000 bytes"},
    {"PrinterGoneMidTransfer", TJob::Program, false, {{kB + 3, Gone()}}, {}, kResultNoValidReply, ""},
    {"StalledLine", TJob::Program, false, {{kB + 3, Stall()}}, {}, kResultNoValidReply, "Write failed: "},
    // The programming-mode request is lost twice; its third attempt gets through.
    {"ModeRequestLostTwice", TJob::Program, false, {{2, Lost()}, {3, Lost()}}, {}, kResultOk, ""},
    // The identify reply comes twice, and the copy arrives while the request that follows
    // waits, that request itself lost: the copy must not answer it.
    {"RepeatedIdentifyThenLostSet", TJob::Set, false, {{0, Twice(30)}, {1, Lost()}}, {}, kResultOk,
     kIdentityCopySkipped},
    {"RepeatedIdentifyThenLostSetUdp", TJob::Set, true, {{0, Twice(30)}, {1, Lost()}}, {}, kResultOk,
     kIdentityCopySkipped},
    {"RepeatedIdentifyThenLostDownloadMode", TJob::Download, false, {{0, Twice(30)}, {1, Lost()}, {2, Lost()}}, {},
     kResultOk, kIdentityCopySkipped},
    // Two copies of the identify reply, 300 ms and 1.5 s late, and a printer that never
    // answers the parameters: neither copy answers them.
    {"IdentifyRepliedTwiceLateAndSetNeverAnswered", TJob::Set, false, {{0, LateTwice(300, 1200)}},
     Unanswered(kCommandSetParameters), kResultNoValidReply, kIdentityCopySkipped},
    {"IdentifyRepliedTwiceLateAndSetNeverAnsweredUdp", TJob::Set, true, {{0, LateTwice(300, 1200)}},
     Unanswered(kCommandSetParameters), kResultNoValidReply, kIdentityCopySkipped},
    // Printers that do not echo their requests' headers still work: one that answers
    // everything with the identify request's own header (its replies to other requests
    // carry no identity, so none is taken for a copy: identify, switch, mode, 8 blocks,
    // end), and one that echoes only the command, whose blocks' replies are all alike.
    {"PrinterWithOneFixedHeader", TJob::Program, false, {}, Headers(TSimHeaders::Fixed, kCommandIdentify, 0),
     kResultOk, "", 12},
    {"PrinterEchoingTheCommandOnlyProgrammed", TJob::Program, false, {}, Headers(TSimHeaders::CommandOnly),
     kResultOk, "", 12},
    {"PrinterWithOneFixedHeaderUdp", TJob::Set, true, {}, Headers(TSimHeaders::Fixed, kCommandIdentify, 0),
     kResultOk, ""},
    {"PrinterEchoingTheCommandOnly", TJob::Download, false, {}, Headers(TSimHeaders::CommandOnly), kResultOk, ""},
};

class FaultMatrix : public TEngineTest, public ::testing::WithParamInterface<TFaultRow> {};

TEST_P(FaultMatrix, EndsWithTheDataInThePrinterOrWithTheJobFailed) {
  const TFaultRow& row = GetParam();
  if (row.Udp) UseUdp();
  TSimFaults faults = row.Printer;
  faults.Script = row.Script;
  Sim.SetFaults(faults);
  Bytes sent;
  switch (row.Job) {
    case TJob::Program:
      sent = ValidFirmwareImage(kImageSize);
      Inputs.Image = sent;
      break;
    case TJob::Set:
      sent = {0x00, 0x00, 0x4B, 0x00, 0x07, 0x26, 0x12, 0x08};
      Inputs.Block = sent;
      break;
    case TJob::Download:
      // At the transfer rate already, nothing goes between identify and the mode request.
      Inputs.Target.BaudRate = kTransferRate;
      sent = Pattern(kDownloadSize, 7);
      Inputs.Downloads.push_back({"logo.bin", "logo.bin", 45, kDownloadBase, std::make_shared<const Bytes>(sent)});
      break;
  }

  const uint8_t result = Run(row.Job == TJob::Program ? JobProgramFirmware
                             : row.Job == TJob::Set   ? JobSetParameters
                                                      : JobDownloadFiles);
  Bytes held;
  if (row.Job == TJob::Program) held = Sim.FirmwareImage();
  if (row.Job == TJob::Set) held = Sim.ParameterBlock();
  if (row.Job == TJob::Download) held = Sim.DownloadRange(kDownloadBase, sent.size());
  const bool dataInPrinter = held.size() >= sent.size() && std::equal(sent.begin(), sent.end(), held.begin());
  EXPECT_EQ(result, row.Expected);
  if (result == kResultOk) {
    EXPECT_TRUE(dataInPrinter) << "OK reported with the printer holding something else";
    EXPECT_EQ(Outcome().BytesAcknowledged, static_cast<int64_t>(sent.size()));
  } else {
    EXPECT_FALSE(dataInPrinter);
  }
  if (row.Expected == kResultOk && row.Job == TJob::Program) {
    EXPECT_EQ(Sim.ModeRequests().back(), 0xFFFFFFFFu) << "programming was not ended";
  }
  // A programming that failed after the first block says so, with what was acknowledged.
  if (row.Job == TJob::Program && result != kResultOk) {
    EXPECT_TRUE(Outcome().FirmwareIncomplete);
    EXPECT_GT(Outcome().BytesAcknowledged, 0);
    EXPECT_LT(Outcome().BytesAcknowledged, static_cast<int64_t>(sent.size()));
  }
  if (row.Requests != 0) {
    EXPECT_EQ(Sim.RequestCount(), row.Requests);
  }
  const std::string trace = ReadText("debug.log");
  if (*row.TraceMark) {
    EXPECT_NE(trace.find(row.TraceMark), std::string::npos) << trace;
  }
  // The link was let go of, even after a line that stopped taking bytes.
  if (!row.Udp) {
    EXPECT_NE(trace.find("CLOSE "), std::string::npos) << trace;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, FaultMatrix, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace printset::fault_matrix
