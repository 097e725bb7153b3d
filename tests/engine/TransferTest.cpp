// The three jobs end to end against a simulated printer, on Linux and (built for
// Windows) under Wine against the native printer-sim: what arrives in the printer's
// memory, block by block, and the requests around it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "JobInputs.h"
#include "engine/CommThread.h"
#include "engine/ParameterBlock.h"
#include "support/RecordingObserver.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TestPrinter.h"
#include "support/TraceMatch.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint16_t kIdentify = 0x20;
constexpr uint16_t kBaudRate = 0x2B;
constexpr uint16_t kMode = 0x2F;
constexpr uint16_t kFirmwareBlock = 0x2E;
constexpr uint16_t kParameters = 0x60;

class TransferTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    Observer.Folder = Folder;
    Inputs.Target.PortName = Printer.PortName();
    Thread = std::make_unique<TCommThread>(Observer);
  }

  // Runs one job to its end; the generous limit only guards against a hang.
  uint8_t Run(uint8_t jobCode) {
    EXPECT_TRUE(Thread->StartJob(Inputs.Make(jobCode)));
    EXPECT_TRUE(Observer.WaitForFinished(1)) << "job did not finish";
    return Outcome().ResultCode;
  }

  TJobOutcome Outcome() { return Observer.LastOutcome(); }
  TCommThreadProbe Probe() { return TCommThreadProbe(*Thread); }

  std::string WriteFile(const std::string& name, const Bytes& bytes) {
    WriteBytesFile(Folder + name, bytes);
    return Folder + name;
  }

  TTempDir Dir;
  std::string Folder;
  TTestPrinter Printer;
  TRecordingObserver Observer;
  TJobInputs Inputs;
  std::unique_ptr<TCommThread> Thread;
};

TPrinterRecord Answered(uint16_t command, uint32_t argument, size_t length) {
  return {command, argument, length, true};
}

struct TFirmwareRow {
  size_t ImageSize;
  size_t Blocks;  // of 256 bytes, the last one filled up with 0xFF
};

class FirmwareTransfer : public TransferTest, public ::testing::WithParamInterface<TFirmwareRow> {};

TEST_P(FirmwareTransfer, EveryBlockArrivesPaddedAtItsOffsetAndProgrammingEnds) {
  const TFirmwareRow row = GetParam();
  const Bytes image = ValidFirmwareImage(row.ImageSize);
  Inputs.Image = image;
  EXPECT_EQ(Run(JobProgramFirmware), 0);

  std::vector<TPrinterRecord> expected = {Answered(kIdentify, 0, 8), Answered(kBaudRate, 115200, 0),
                                          Answered(kMode, 0, 0)};
  for (size_t block = 0; block < row.Blocks; ++block)
    expected.push_back(Answered(kFirmwareBlock, static_cast<uint32_t>(block * 256), 256));
  expected.push_back(Answered(kMode, 0xFFFFFFFFu, 0));
  EXPECT_EQ(Printer.Requests(), expected);
  Bytes padded = image;
  padded.resize(row.Blocks * 256, 0xFF);
  EXPECT_EQ(Printer.FirmwareImage(), padded);

  const auto progress = Observer.ProgressCalls();
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().Done, static_cast<int32_t>(row.ImageSize));
  EXPECT_EQ(progress.back().Total, static_cast<int32_t>(row.ImageSize));
}

INSTANTIATE_TEST_SUITE_P(Images, FirmwareTransfer,
                         ::testing::Values(TFirmwareRow{300, 2}, TFirmwareRow{8192 + 100, 33}),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param.ImageSize); });

TEST_F(TransferTest, DownloadAddsTheBaseWrapsAt32BitsAndSwitchesTheRateAroundTheBlocks) {
  const Bytes first = PatternBytes(1024);
  const Bytes second = PatternBytes(300, 9);
  Inputs.AddDownload(WriteFile("a.bin", first), "a.bin", 301, 3840u);
  Inputs.AddDownload(WriteFile("b.bin", second), "b.bin", 45, 4294967040u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);

  const std::vector<TPrinterRecord> expected = {
      Answered(kIdentify, 0, 8),         Answered(kBaudRate, 115200, 0), Answered(kMode, 1, 0),
      Answered(301, 3840, 256),          Answered(301, 4096, 256),       Answered(301, 4352, 256),
      Answered(301, 4608, 256),          Answered(45, 0xFFFFFF00u, 256), Answered(45, 0, 44),
      Answered(kBaudRate, 9600, 0)};
  EXPECT_EQ(Printer.Requests(), expected);
  EXPECT_EQ(Printer.DownloadRange(3840, 1024), first);
  EXPECT_EQ(Printer.DownloadRange(0xFFFFFF00u, 256), Bytes(second.begin(), second.begin() + 256));
  EXPECT_EQ(Printer.DownloadRange(0, 44), Bytes(second.begin() + 256, second.end()));
  EXPECT_EQ(Probe().LineBaudRate(), 9600);
}

TEST_F(TransferTest, SetParametersSendsTheBlockAndTracesEveryPacket) {
  const auto block = BuildParameterBlock(" 19200", 0, "261207");
  Inputs.Block.assign(block.begin(), block.end());
  EXPECT_EQ(Run(JobSetParameters), 0);

  EXPECT_EQ(Printer.Requests(), (std::vector<TPrinterRecord>{Answered(kIdentify, 0, 8), Answered(kParameters, 0, 8)}));
  EXPECT_EQ(Printer.ParameterBlock(), (Bytes{0x00, 0x00, 0x4B, 0x00, 0x00, 0x26, 0x12, 0x07}));
  EXPECT_EQ(Outcome().DeviceIdentity, "PRN 7401");

  // OPEN, then per packet a send line with header and data dumps and a receive line with
  // its dump (the identify reply carries data, the other not), then CLOSE; the file holds
  // the same lines with CR LF.
  const auto lines = Probe().TraceLines();
  ASSERT_EQ(lines.size(), 1u + (3 + 3) + (3 + 2) + 1);
  EXPECT_TRUE(IsStampedLine(lines[0], "OPEN " + Printer.PortName())) << lines[0];
  EXPECT_TRUE(IsStampedLine(lines[1], "Send 20 bytes")) << lines[1];
  EXPECT_EQ(lines[2].substr(0, 40), "    03 FF 20 00 00 00 00 00    08 00 D4 ");
  EXPECT_EQ(lines[3].substr(0, 28), "    44 45 56 49 43 45 3F 3F ");
  EXPECT_TRUE(IsStampedLine(lines[4], "Rec: 20 bytes")) << lines[4];
  EXPECT_TRUE(IsStampedLine(lines[7], "Send 20 bytes")) << lines[7];
  EXPECT_EQ(lines[9].substr(0, 28), "    00 00 4B 00 00 26 12 07 ");
  EXPECT_TRUE(IsStampedLine(lines.back(), "CLOSE ")) << lines.back();
  std::string expectedFile;
  for (const auto& line : lines) expectedFile += line + "\r\n";
  EXPECT_EQ(ReadTextFile(Folder + "debug.log"), expectedFile);
}

}  // namespace
}  // namespace printset
