// The set-parameters job end to end, and the link session's failures along the way.
#include <chrono>
#include <cstring>
#include <future>
#include <regex>

#include "EngineFixture.h"
#include "engine/ParameterBlock.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

class SetParametersJobTest : public TEngineTest {
 protected:
  void PrepareBlock(const std::string& baud = "  9600", int32_t codePage = 0, const std::string& digits = "123456") {
    const auto block = BuildParameterBlock(baud, codePage, digits);
    Inputs.Block.assign(block.begin(), block.end());
  }
  std::vector<std::string> TraceLines() { return Probe().TraceLines(); }
};

// A port that does not open: no request, a trace of the one line that says why, and the
// job still finishes. The network is only the exact name TCP/IP, and it needs an address.
TEST_F(SetParametersJobTest, PortThatDoesNotOpenLeavesOneTraceLine) {
  PrepareBlock();
  struct TRow {
    std::string Port;
    std::string Line;  // how the trace line begins
    std::string OpenError;
  };
  const TRow rows[] = {
      {Folder + "no-such-device", "CLOSE  ", "No such file or directory"},
      {"tcp/ip", "CLOSE  ", "No such file or directory"},
      {" TCP/IP", "CLOSE  ", "No such file or directory"},
      {"TCP/IP", "TCP/IP: no printer address configured",
       "no printer address configured (HOST in [NETWORK] of config.ini)"},
  };
  for (const TRow& row : rows) {
    Inputs.Target.PortName = row.Port;
    EXPECT_EQ(Run(JobSetParameters), kResultPortNotOpened) << row.Port;
    EXPECT_EQ(Outcome().OpenError, row.OpenError) << row.Port;
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 1u) << row.Port;
    EXPECT_EQ(lines[0].rfind(row.Line, 0), 0u) << lines[0];
    EXPECT_EQ(ReadText("debug.log"), lines[0] + "\r\n") << row.Port;
    ASSERT_FALSE(Observer.Calls().empty());
    EXPECT_EQ(Observer.Calls().back().Kind, TRecordingObserver::TKind::Finished) << row.Port;
  }
  EXPECT_EQ(Sim.RequestCount(), 0u);
}

TEST_F(SetParametersJobTest, IdentityRules) {
  PrepareBlock();
  struct TCase {
    std::string Identity;
    uint8_t Expected;
    std::string Seen;
  };
  const TCase cases[] = {
      {"PRN 74XX", kResultOk, "PRN 74XX"},
      {"prn 7401", kResultIdentityRejected, "prn 7401"},
      {"PRN 740X", kResultIdentityRejected, "PRN 740X"},  // all eight characters count
      {"PRN 74XXABCD", kResultOk, "PRN 74XX"},   // bytes past the eighth are ignored
      // The request's tail fills the comparison, but only what was sent is reported.
      {"PRN 74", kResultIdentityRejected, "PRN 74"},
      {"PRN 74??", kResultIdentityRejected, "PRN 74??"},
      {"", kResultIdentityRejected, ""},
  };
  for (const auto& c : cases) {
    Sim.SetIdentity(c.Identity);
    EXPECT_EQ(Run(JobSetParameters), c.Expected) << c.Identity;
    EXPECT_EQ(Outcome().DeviceIdentity, c.Seen);
  }
}

TEST_F(SetParametersJobTest, TwoJobsInARowKeepOnlyTheSecondTrace) {
  PrepareBlock();
  Sim.SetNoReply(0x60);
  EXPECT_EQ(Run(JobSetParameters), kResultNoValidReply);
  Sim.ClearFaults();
  const size_t before = Sim.RequestCount();
  EXPECT_EQ(Run(JobSetParameters), kResultOk);
  EXPECT_EQ(Sim.RequestCount(), before + 2);
  const std::string log = ReadText("debug.log");
  EXPECT_EQ(log.find("OPEN"), 0u);
  EXPECT_EQ(log.find("OPEN", 1), std::string::npos);
  EXPECT_EQ(Probe().TraceLines().size(), 13u);
}

TEST_F(SetParametersJobTest, StartJobWhileRunningIsRefused) {
  // The printer holds its answer to the parameters until the second StartJob has been
  // tried, so the job is surely running then.
  std::promise<void> tried;
  std::shared_future<void> released = tried.get_future().share();
  Sim.Stop();
  Sim.OnRequest([released](const TSimRequest& request, const std::string&) {
    if (request.Command == 0x60) released.wait_for(std::chrono::seconds(60));
  });
  ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  Inputs.Target.PortName = Sim.DevicePath();
  PrepareBlock();

  ASSERT_TRUE(Thread->StartJob(Inputs.Make(JobSetParameters)));
  ASSERT_TRUE(Sim.WaitForRequests(2, 60000));
  EXPECT_TRUE(Thread->JobRunning());
  EXPECT_FALSE(Thread->StartJob(Inputs.Make(JobProgramFirmware)));
  tried.set_value();
  ASSERT_TRUE(Observer.WaitForFinished(1));
  EXPECT_EQ(Outcome().ResultCode, 0);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20, 0x60}));
  EXPECT_EQ(Observer.FinishedJobs(), 1u) << "the refused job was run after all";
}

TEST_F(SetParametersJobTest, OverUdp) {
  UseUdp();
  PrepareBlock("115200", 7, "261207");
  EXPECT_EQ(Run(JobSetParameters), kResultOk);
  EXPECT_EQ(Sim.ParameterBlock(), (Bytes{0x00, 0x01, 0xC2, 0x00, 0x07, 0x26, 0x12, 0x07}));
  const auto lines = Probe().TraceLines();
  EXPECT_EQ(lines.front().rfind("OPEN TCP/IP ", 0), 0u);
  for (const auto& line : lines) EXPECT_EQ(line.rfind("CLOSE", 0), std::string::npos) << "no CLOSE line on the network";
}

TEST_F(SetParametersJobTest, RequestDataTooLongForAPacketIsAnErrorNotASuccess) {
  PrepareBlock();
  Inputs.Block.resize(2000);
  EXPECT_EQ(Run(JobSetParameters), kResultJobError);
  EXPECT_EQ(Commands(), (std::vector<uint16_t>{0x20}));
  const std::string log = ReadText("debug.log");
  EXPECT_NE(log.find("ERROR request data of 2000 bytes"), std::string::npos) << log;
  // The worker survives and the port was let go.
  Inputs.Block.resize(8);
  EXPECT_EQ(Run(JobSetParameters), kResultOk);
}

}  // namespace
}  // namespace printset
