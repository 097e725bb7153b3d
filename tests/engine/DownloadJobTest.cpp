// Files into the printer's memory: blocks, addresses, baud switches, skips and failures.
#include "EngineFixture.h"
#include "link/UniUart.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

class DownloadJobTest : public TEngineTest {
 protected:
  std::vector<TSimRequest> Blocks(uint16_t command = 45) {
    std::vector<TSimRequest> blocks;
    for (const auto& r : Sim.Requests())
      if (r.Command == command) blocks.push_back(r);
    return blocks;
  }
};

TEST_F(DownloadJobTest, FileOf300BytesGoesAsTwoBlocksWithProgress) {
  const Bytes file = Pattern(300);
  Inputs.AddDownload(WriteFile("logo.bin", file), "logo.bin", 45, 0u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  const auto blocks = Blocks();
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].Argument, 0u);
  EXPECT_EQ(blocks[0].Data.size(), 256u);
  EXPECT_EQ(blocks[1].Argument, 256u);
  EXPECT_EQ(blocks[1].Data.size(), 44u);
  EXPECT_EQ(Sim.DownloadRange(0, 300), file);
  EXPECT_EQ(Sim.DownloadCommand(), 45);

  const auto progress = Observer.ProgressCalls();
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().Done, 300);
  EXPECT_EQ(progress.back().Total, 300);
  EXPECT_EQ(Observer.Statuses(), std::vector<std::string>{"DOWNLOAD logo.bin"});
}

TEST_F(DownloadJobTest, LinkSwitchesTo115200ForTheTransferAndBack) {
  std::vector<int32_t> lineRateAtBlocks;
  Sim.OnRequest([&](const TSimRequest& request, const std::string&) {
    if (request.Command == 45) lineRateAtBlocks.push_back(Sim.LineBaudRate());
  });
  Inputs.AddDownload(WriteFile("a.bin", Pattern(512)), "a.bin", 45, 0u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x2B, 0x2F, 45, 45, 0x2B}));
  const auto requests = Sim.Requests();
  EXPECT_EQ(requests[1].Argument, 115200u);
  EXPECT_EQ(requests[2].Argument, 1u);
  EXPECT_EQ(requests[5].Argument, 9600u);
  EXPECT_EQ(lineRateAtBlocks, (std::vector<int32_t>{115200, 115200}));
  EXPECT_EQ(Sim.BaudRate(), 9600);
  EXPECT_EQ(Probe().LineBaudRate(), 9600);
}

TEST_F(DownloadJobTest, SkippedAndMissingEntriesAndEmptyFiles) {
  const Bytes first = Pattern(20, 3), second = Pattern(30, 5);
  Inputs.AddDownload(WriteFile("first.bin", first), "first.bin", 45, 0u);
  Inputs.AddDownload(WriteFile("skipped.bin", Pattern(8)), "-", 45, 256);
  Inputs.AddDownload(Folder + "missing.bin", "missing.bin", 45, 512u);
  Inputs.AddDownload(WriteFile("empty.bin", {}), "empty.bin", 45, 768u);
  Inputs.AddDownload(WriteFile("second.bin", second), "second.bin", 45, 1024u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  const auto blocks = Blocks();
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0].Data, first);
  EXPECT_EQ(blocks[1].Argument, 1024u);
  EXPECT_EQ(blocks[1].Data, second);
  EXPECT_EQ(Observer.Statuses(), (std::vector<std::string>{"DOWNLOAD first.bin", "DOWNLOAD empty.bin", "DOWNLOAD second.bin"}));
}

TEST_F(DownloadJobTest, EmptyListStillOpensSwitchesAndCloses) {
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x2B, 0x2F, 0x2B}));
}

TEST_F(DownloadJobTest, AtTheTransferRateNoSwitchIsSent) {
  Inputs.Target.BaudRate = 115200;
  Inputs.AddDownload(WriteFile("a.bin", Pattern(10)), "a.bin", 45, 0u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x2F, 45}));
}

TEST_F(DownloadJobTest, UnansweredBaudSwitchGoesOnAtTheOldRateAndEndsInError) {
  Sim.SetNoReply(0x2B);
  const Bytes file = Pattern(300);
  Inputs.AddDownload(WriteFile("a.bin", file), "a.bin", 45, 0u);
  EXPECT_EQ(Run(JobDownloadFiles), kResultNoValidReply);
  EXPECT_EQ(Sim.DownloadRange(0, 300), file);
  EXPECT_EQ(Probe().LineBaudRate(), 9600);
  EXPECT_EQ(Sim.LineBaudRate(), 9600);
}

TEST_F(DownloadJobTest, UnreadableFileIsAnErrorAndTheLineIsLetGo) {
  // A regular file whose reading fails, whatever the rights of the reader: the start of
  // the process's own memory map is never mapped.
  Inputs.AddDownload("/proc/self/mem", "mem", 45, 0u);
  EXPECT_EQ(Run(JobDownloadFiles), kResultJobError);
  TMyUart other;
  EXPECT_TRUE(other.Open(Sim.DevicePath(), 9600)) << "the line is let go: " << other.LastError();
  other.Close();
  const std::string log = ReadText("debug.log");
  EXPECT_NE(log.find("ERROR cannot read \"/proc/self/mem\""), std::string::npos) << log;
  EXPECT_EQ(Run(JobSetParameters), kResultOk) << "the next job opens the port again";
}

TEST_F(DownloadJobTest, OverUdp) {
  UseUdp();
  const Bytes file = Pattern(700);
  Inputs.AddDownload(WriteFile("a.bin", file), "a.bin", 45, 4096u);
  EXPECT_EQ(Run(JobDownloadFiles), 0);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x2F, 45, 45, 45}));
  EXPECT_EQ(Sim.DownloadRange(4096, 700), file);
}

}  // namespace
}  // namespace printset
