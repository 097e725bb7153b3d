// The simulated printer, driven by the real link over a pty: what it answers, what it
// keeps, and each of its faults as the host sees it.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

#include "support/TraceMatch.h"
#include "link/PacketCodec.h"
#include "link/PacketLink.h"
#include "link/SerialTransport.h"
#include "sim/SimPrinter.h"

namespace printset {
namespace {

std::vector<uint8_t> Pattern(size_t count, uint8_t seed) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(seed + i * 3);
  return bytes;
}

class SimOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
    ASSERT_TRUE(Port.Open(Sim.DevicePath(), 9600)) << Port.LastError();
  }

  int Request(uint16_t command, uint32_t argument, const std::vector<uint8_t>& data = {}, int attempts = 1,
              uint32_t ms = 500) {
    if (!data.empty()) std::memcpy(Buffer, data.data(), data.size());
    return Link.Transact(command, argument, Buffer, 4095, static_cast<int>(data.size()), attempts, ms);
  }
  int Identify(int attempts = 1, uint32_t ms = 500) {
    return Request(0x20, 0, {'D', 'E', 'V', 'I', 'C', 'E', '?', '?'}, attempts, ms);
  }
  std::string Reply(int length) const { return std::string(reinterpret_cast<const char*>(Buffer), length); }
  std::vector<bool> Answered() const {
    std::vector<bool> answered;
    for (const auto& request : Sim.Requests()) answered.push_back(request.Answered);
    return answered;
  }

  TSimPrinter Sim;
  TMyUart Port;
  TTraceLog Trace;
  TSerialTransport Serial{Port};
  TPacketLink Link{Serial, Trace};
  uint8_t Buffer[4096] = {};
};

TEST_F(SimOverPty, IdentifyAnswersWithTheIdentityAsConfigured) {
  ASSERT_EQ(Identify(), 8);
  EXPECT_EQ(Reply(8), "PRN 7401");
  Sim.SetIdentity("PRN 74XX");
  ASSERT_EQ(Identify(), 8);
  EXPECT_EQ(Reply(8), "PRN 74XX");
  Sim.SetIdentity("PRN 74");
  EXPECT_EQ(Identify(), 6);

  const auto requests = Sim.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Command, 0x20);
  EXPECT_EQ(requests[0].Data, (std::vector<uint8_t>{'D', 'E', 'V', 'I', 'C', 'E', '?', '?'}));
  EXPECT_TRUE(requests[0].Answered);
  EXPECT_EQ(Sim.Log()[0], "cmd=0x20 arg=0x00000000 len=8 answered");
}

TEST_F(SimOverPty, TheHostClosingAndReopeningThePortBetweenJobsCostsNothing) {
  ASSERT_EQ(Identify(), 8);
  Port.Close();
  ASSERT_TRUE(Port.Open(Sim.DevicePath(), 9600)) << Port.LastError();
  EXPECT_EQ(Identify(), 8);
}

TEST_F(SimOverPty, ABaudSwitchIsAnsweredAndTheHostsLineCanBeSeenToFollow) {
  EXPECT_EQ(Sim.LineBaudRate(), 9600);
  ASSERT_EQ(Request(0x2B, 115200), 0);
  EXPECT_EQ(Sim.BaudRate(), 115200);
  ASSERT_TRUE(Port.SetBaudRate(115200));
  EXPECT_EQ(Sim.LineBaudRate(), 115200);
  EXPECT_EQ(Identify(), 8);
}

TEST_F(SimOverPty, ModesParametersFirmwareAndDownloadBlocksAreKept) {
  const auto block0 = Pattern(256, 1);
  const auto block1 = Pattern(256, 2);
  ASSERT_EQ(Request(0x2F, 0), 0);
  EXPECT_EQ(Sim.Mode(), TSimMode::Programming);
  ASSERT_EQ(Request(0x2E, 256, block1), 0);
  ASSERT_EQ(Request(0x2E, 0, block0), 0);
  ASSERT_EQ(Request(0x2F, 0xFFFFFFFF), 0);
  EXPECT_EQ(Sim.Mode(), TSimMode::ProgrammingEnded);
  auto image = block0;
  image.insert(image.end(), block1.begin(), block1.end());
  EXPECT_EQ(Sim.FirmwareImage(), image);

  // Blocks of an unknown command are only stored in download mode.
  ASSERT_EQ(Request(0x2D, 0, Pattern(16, 9)), 0);
  EXPECT_TRUE(Sim.DownloadRegions().empty());
  ASSERT_EQ(Request(0x2F, 1), 0);
  EXPECT_EQ(Sim.Mode(), TSimMode::Download);
  const auto first = Pattern(256, 5);
  const auto second = Pattern(44, 6);
  ASSERT_EQ(Request(0x2D, 3840, first), 0);
  ASSERT_EQ(Request(0x2D, 4096, second), 0);
  ASSERT_EQ(Request(0x2D, 0x10000, Pattern(4, 7)), 0);
  const auto regions = Sim.DownloadRegions();
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ(regions[0].Address, 3840u);
  EXPECT_EQ(regions[0].Bytes.size(), 300u);
  auto expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(Sim.DownloadRange(3840, 300), expected);
  EXPECT_EQ(Sim.DownloadCommand(), 0x2D);

  const std::vector<uint8_t> parameters = {0x00, 0x00, 0x25, 0x80, 0x00, 0x12, 0x34, 0x56};
  ASSERT_EQ(Request(0x60, 0, parameters), 0);
  EXPECT_EQ(Sim.ParameterBlock(), parameters);
  EXPECT_EQ(Sim.ModeRequests(), (std::vector<uint32_t>{0, 0xFFFFFFFF, 1}));

  Sim.ClearRecords();
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_TRUE(Sim.FirmwareImage().empty());
  EXPECT_TRUE(Sim.DownloadRegions().empty());
  EXPECT_TRUE(Sim.ParameterBlock().empty());
  EXPECT_EQ(Sim.Mode(), TSimMode::Idle);
}

TEST_F(SimOverPty, RequestsFailingTheirChecksAreRecordedButNotAnswered) {
  auto request = BuildRequest(0x20, 0, reinterpret_cast<const uint8_t*>("DEVICE??"), 8);
  request[10] ^= 1;
  ASSERT_TRUE(Port.Write(request.data(), static_cast<int>(request.size())));
  EXPECT_EQ(Link.ReceiveReply(Buffer, 4095, 200), -1);
  request[10] ^= 1;
  request[11] ^= 1;
  ASSERT_TRUE(Port.Write(request.data(), static_cast<int>(request.size())));
  EXPECT_EQ(Link.ReceiveReply(Buffer, 4095, 200), -1);
  ASSERT_TRUE(Sim.WaitForRequests(2, 2000));
  for (const auto& seen : Sim.Requests()) {
    EXPECT_FALSE(seen.ChecksGood);
    EXPECT_FALSE(seen.Answered);
  }
  EXPECT_EQ(Sim.Log().back(), "cmd=0x20 arg=0x00000000 len=8 bad check");
  // Noise before a good request is skipped.
  const uint8_t noise[] = {0x41, 0x03, 0x42, 0xFF};
  ASSERT_TRUE(Port.Write(noise, sizeof noise));
  EXPECT_EQ(Identify(), 8);
}

TEST_F(SimOverPty, ACommandThatIsNeverAnsweredFailsEveryAttemptAndHasNoEffect) {
  Sim.SetNoReply(0x2E);
  EXPECT_EQ(Request(0x2E, 0, Pattern(256, 1), 3, 100), -1);
  ASSERT_TRUE(Sim.WaitForRequests(3, 2000));
  EXPECT_EQ(Answered(), (std::vector<bool>{false, false, false}));
  EXPECT_EQ(Sim.Log()[0], "cmd=0x2E arg=0x00000000 len=256 unanswered");
  EXPECT_TRUE(Sim.FirmwareImage().empty());
  EXPECT_EQ(Identify(), 8);
  Sim.SetNoReply(0x2E, false);
  EXPECT_EQ(Request(0x2E, 0, Pattern(256, 1)), 0);
}

TEST_F(SimOverPty, IgnoringTheFirstRequestsLeavesTheThirdAttemptToSucceed) {
  Sim.SetIgnoreFirst(2);
  EXPECT_EQ(Identify(3, 100), 8);
  EXPECT_EQ(Answered(), (std::vector<bool>{false, false, true}));
}

TEST_F(SimOverPty, StrayBytesBeforeTheReplyAreSkippedByTheHost) {
  Sim.SetStrayBytes(5);
  ASSERT_EQ(Identify(), 8);
  EXPECT_EQ(Reply(8), "PRN 7401");
  EXPECT_TRUE(IsStampedLine(Trace.GetLines()[3], "Rec: 25 bytes")) << Trace.GetLines()[3];
}

TEST_F(SimOverPty, BadCheckBytesInRepliesFailTheWait) {
  Sim.SetBadHeaderCheck(true);
  EXPECT_EQ(Request(0x2F, 1, {}, 1, 200), -1);
  Sim.SetBadHeaderCheck(false);
  Sim.SetBadDataCheck(true);
  EXPECT_EQ(Identify(1, 200), -1);
  // A reply without data has no data check to spoil.
  EXPECT_EQ(Request(0x2F, 1, {}, 1, 200), 0);
}

TEST_F(SimOverPty, AnOversizeReplyIsRefused) {
  Sim.SetOversizeReply(4096);
  EXPECT_EQ(Identify(1, 300), -1);
  EXPECT_TRUE(IsStampedLine(Trace.GetLines()[3], "Rec: 12 bytes"));
  Sim.SetOversizeReply(0);
  // The rest of the big reply may still be on its way; once it has drained, the next
  // exchange works again.
  uint8_t rest[4096];
  while (Port.Read(rest, sizeof rest, 300) > 0) {
  }
  EXPECT_EQ(Identify(), 8);
}

TEST_F(SimOverPty, AReplyThatArrivesLateIsSkippedOnceThePrinterIsSeenToEcho) {
  ASSERT_EQ(Identify(), 8);
  ASSERT_EQ(Request(0x2B, 9600), 0);  // two commands and two arguments echoed
  Sim.SetReplyDelay(300);
  EXPECT_EQ(Request(0x2F, 0, {}, 1, 100), -1);
  Sim.SetReplyDelay(0);
  // The reply to (0x2F, 0) arrives during this wait; only this request's own is taken.
  EXPECT_EQ(Request(0x2F, 1, {}, 1, 2000), 0);
  EXPECT_EQ(Sim.Mode(), TSimMode::Download);
  const auto& lines = Trace.GetLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Skip: reply cmd=0x002F arg=0x00000000 belongs to another request"),
            lines.end());
}

TEST_F(SimOverPty, ALateDuplicateIsNotTakenAsTheFirstReplyOfAnotherCommand) {
  ASSERT_EQ(Identify(), 8);
  ASSERT_EQ(Request(0x2B, 9600), 0);  // two commands echoed: the printer echoes
  Sim.SetLateDuplicate(50);
  EXPECT_EQ(Request(0x2F, 1), 0);
  // The copy of the mode reply arrives during the first wait for 0x2E.
  EXPECT_EQ(Request(0x2E, 0, Pattern(256, 1), 1, 2000), 0);
  const auto& lines = Trace.GetLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Skip: reply cmd=0x002F arg=0x00000001 belongs to another request"),
            lines.end());
  EXPECT_EQ(Sim.Faults().LateDuplicateMs, -1);  // once only
}

TEST_F(SimOverPty, PacedExchangesStillCarryTheProtocol) {
  Sim.SetPacing(true);
  ASSERT_EQ(Request(0x2B, 115200), 0);
  ASSERT_TRUE(Port.SetBaudRate(115200));
  EXPECT_EQ(Identify(), 8);
  EXPECT_EQ(Request(0x2E, 0, Pattern(256, 1)), 0);
  EXPECT_EQ(Sim.FirmwareImage().size(), 256u);
}

}  // namespace
}  // namespace printset
