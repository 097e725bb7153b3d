// Firmware programming: blocks filled up with 0xFF, the end-of-programming request, failures.
#include "EngineFixture.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

class FirmwareJobTest : public TEngineTest {
 protected:
  static Bytes Image(size_t size) { return ValidFirmwareImage(size); }
  std::vector<uint32_t> BlockOffsets() {
    std::vector<uint32_t> offsets;
    for (const auto& r : Sim.Requests())
      if (r.Command == 0x2E) offsets.push_back(r.Argument);
    return offsets;
  }
};

TEST_F(FirmwareJobTest, ImageOf300BytesIsPaddedAndEndsProgramming) {
  const Bytes image = Image(300);
  Thread->DataStream.Assign(image);
  EXPECT_EQ(Run(JobProgramFirmware), 0);
  EXPECT_EQ(BlockOffsets(), (std::vector<uint32_t>{0, 256}));
  Bytes expected = image;
  expected.resize(512, 0xFF);
  EXPECT_EQ(Sim.FirmwareImage(), expected);
  for (const auto& r : Sim.Requests()) {
    if (r.Command == 0x2E) {
      EXPECT_EQ(r.Data.size(), 256u);
    }
  }
  EXPECT_EQ(Sim.ModeRequests(), (std::vector<uint32_t>{0, 0xFFFFFFFFu}));
  EXPECT_EQ(Commands().back(), 0x2F);
  EXPECT_EQ(Sim.BaudRate(), 115200) << "no switch back after programming";
  const auto progress = Host.Progress();
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back().WParam, 300);
  EXPECT_EQ(progress.back().LParam, 300);
}

TEST_F(FirmwareJobTest, LargerImageArrivesByteForByte) {
  const Bytes image = Image(8192 + 100);
  Thread->DataStream.Assign(image);
  EXPECT_EQ(Run(JobProgramFirmware), 0);
  EXPECT_EQ(BlockOffsets().size(), 33u);
  const Bytes received = Sim.FirmwareImage();
  ASSERT_GE(received.size(), image.size());
  EXPECT_EQ(Bytes(received.begin(), received.begin() + static_cast<long>(image.size())), image);
}

TEST_F(FirmwareJobTest, BlockWithoutReplyStopsBeforeTheEndOfProgramming) {
  Sim.SetNoReply(0x2E);
  Thread->DataStream.Assign(Image(1024));
  EXPECT_EQ(Run(JobProgramFirmware), kResultNoValidReply);
  EXPECT_EQ(BlockOffsets(), (std::vector<uint32_t>{0, 0, 0}));
  EXPECT_EQ(Sim.ModeRequests(), (std::vector<uint32_t>{0}));
}

TEST_F(FirmwareJobTest, ProgrammingModeRefused) {
  Sim.SetNoReply(0x2F);
  Thread->DataStream.Assign(Image(256));
  EXPECT_EQ(Run(JobProgramFirmware), kResultProgramModeRefused);
  EXPECT_TRUE(BlockOffsets().empty());
}

TEST_F(FirmwareJobTest, UnansweredEndOfProgrammingIsAnError) {
  Thread->DataStream.Assign(Image(256));
  Sim.OnRequest([&](const TSimRequest& request, const std::string&) {
    if (request.Command == 0x2E) Sim.SetNoReply(0x2F);
  });
  EXPECT_EQ(Run(JobProgramFirmware), kResultNoValidReply);
  EXPECT_EQ(Commands().back(), 0x2F);
}

}  // namespace
}  // namespace printset
