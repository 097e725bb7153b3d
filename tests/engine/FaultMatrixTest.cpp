// A firmware transfer against a printer that misbehaves in the ways real lines do. Every
// row ends either with the printer's memory equal to the image or with the job failed;
// never "OK" with a difference.
#include <algorithm>

#include "EngineFixture.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

// Requests of a programming job, by index: identify, baud switch (serial only),
// programming mode, then one firmware block per request. Scripts count from the first
// block: step k meets block k while nothing has been retried.
constexpr size_t kFirstBlockSerial = 3;
constexpr size_t kFirstBlockUdp = 2;
constexpr size_t kImageSize = 8 * 256;

struct TFaultRow {
  const char* Name;
  bool Udp;
  std::map<size_t, TSimStep> Script;
  bool ForeignReplies;
  uint8_t Expected;
  const char* TraceMark;  // a line of debug.log that shows what happened; "" for none
};

void PrintTo(const TFaultRow& row, std::ostream* out) { *out << row.Name; }

TSimStep Late(int ms) { TSimStep s; s.DelayMs = ms; return s; }
TSimStep Lost() { TSimStep s; s.Drop = true; return s; }
TSimStep Twice(int ms) { TSimStep s; s.DuplicateMs = ms; return s; }
TSimStep Gone() { TSimStep s; s.Vanish = true; return s; }
TSimStep Stall() { TSimStep s; s.StallLine = true; return s; }
TSimStep Oversize(int length) { TSimStep s; s.OversizeLength = length; return s; }

const TFaultRow kRows[] = {
    // Block 2 is answered after its 600 ms limit; the retry's own reply then arrives
    // while block 3 is out, and block 3's first request is lost.
    {"LateReplyThenLostRequest", false, {{2, Late(750)}, {4, Lost()}}, false,
     kResultOk, ""},
    // Block 1's reply comes twice; the copy arrives while block 2 (lost) waits.
    {"DuplicateReplyThenLostRequest", false, {{1, Twice(30)}, {2, Lost()}}, false,
     kResultOk, "Skip: reply cmd=0x002E arg=0x00000100 belongs to another request"},
    // Block 1 is lost, and another host answers it in the printer's place.
    {"ForeignUdpSender", true, {{1, Lost()}}, true, kResultOk, ""},
    // A reply too long for the receive buffer, then the retry's good one.
    {"OversizeReplyThenGoodReply", false, {{1, Oversize(3000)}}, false, kResultOk,
     "Drained 3000 bytes"},
    {"PrinterGoneMidTransfer", false, {{3, Gone()}}, false, kResultNoValidReply, ""},
    {"StalledLine", false, {{3, Stall()}}, false, kResultNoValidReply, "Write failed: "},
};

class FaultMatrix : public TEngineTest, public ::testing::WithParamInterface<TFaultRow> {};

TEST_P(FaultMatrix, EndsWithTheImageInThePrinterOrWithTheJobFailed) {
  const TFaultRow& row = GetParam();
  if (row.Udp) UseUdp();
  TSimFaults faults;
  const size_t firstBlock = row.Udp ? kFirstBlockUdp : kFirstBlockSerial;
  for (const auto& [step, what] : row.Script) faults.Script[firstBlock + step] = what;
  faults.ForeignReplies = row.ForeignReplies;
  Sim.SetFaults(faults);
  const Bytes image = ValidFirmwareImage(kImageSize);
  Thread->DataStream.Assign(image);

  const uint8_t result = Run(JobProgramFirmware);
  const Bytes memory = Sim.FirmwareImage();
  const bool imageInPrinter =
      memory.size() >= image.size() && std::equal(image.begin(), image.end(), memory.begin());
  EXPECT_EQ(result, row.Expected);
  if (result == kResultOk) {
    EXPECT_TRUE(imageInPrinter) << "OK reported with a hole in the printer's firmware";
  }
  if (row.Expected == kResultOk) {
    EXPECT_EQ(Sim.ModeRequests().back(), 0xFFFFFFFFu) << "programming was not ended";
  } else {
    EXPECT_FALSE(imageInPrinter);
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
}  // namespace printset
