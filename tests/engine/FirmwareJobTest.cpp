// Firmware programming that the printer does not go along with: unanswered blocks, modes and ends.
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

TEST_F(FirmwareJobTest, BlockWithoutReplyStopsBeforeTheEndOfProgramming) {
  Sim.SetNoReply(0x2E);
  Inputs.Image = Image(1024);
  EXPECT_EQ(Run(JobProgramFirmware), kResultNoValidReply);
  EXPECT_EQ(BlockOffsets(), (std::vector<uint32_t>{0, 0, 0}));
  EXPECT_EQ(Sim.ModeRequests(), (std::vector<uint32_t>{0}));
}

TEST_F(FirmwareJobTest, ProgrammingModeRefused) {
  Sim.SetNoReply(0x2F);
  Inputs.Image = Image(256);
  EXPECT_EQ(Run(JobProgramFirmware), kResultProgramModeRefused);
  EXPECT_TRUE(BlockOffsets().empty());
}

TEST_F(FirmwareJobTest, UnansweredEndOfProgrammingIsAnError) {
  Inputs.Image = Image(256);
  Sim.OnRequest([&](const TSimRequest& request, const std::string&) {
    if (request.Command == 0x2E) Sim.SetNoReply(0x2F);
  });
  EXPECT_EQ(Run(JobProgramFirmware), kResultNoValidReply);
  EXPECT_EQ(Commands().back(), 0x2F);
}

}  // namespace
}  // namespace printset
