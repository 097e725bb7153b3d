// The serial reply receiver, fed through a real port by the far end of a pty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/PtyPair.h"
#include "support/TraceMatch.h"
#include "link/PacketCodec.h"
#include "link/ReplyReceiver.h"
#include "link/UniUart.h"
#include "link/TraceFormat.h"
#include "sim/SimReply.h"

namespace printset {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Receiver : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Port.Open(Pty.SlavePath(), 9600)) << Port.LastError(); }

  int Receive(uint32_t ms = 500, int capacity = 255) {
    return ReceiveSerialReply(Port, Data, capacity, ms, Trace);
  }
  const std::vector<std::string>& Lines() const { return Trace.GetLines(); }
  // The dump lines expected after the receive line for a wait that took in `taken`.
  static std::vector<std::string> DumpOf(const std::vector<uint8_t>& taken, size_t headerEnd) {
    auto lines = HexDumpLines(taken.data(), std::min(headerEnd, taken.size()));
    if (taken.size() > headerEnd) {
      const auto rest = HexDumpLines(taken.data() + headerEnd, taken.size() - headerEnd);
      lines.insert(lines.end(), rest.begin(), rest.end());
    }
    return lines;
  }

  TPtyPair Pty;
  TMyUart Port;
  TTraceLog Trace;
  uint8_t Data[256] = {};
};

TEST_F(Receiver, StrayBytesAreSkippedCountedAndShownInTheFirstDump) {
  const auto reply = BuildFlawedReply(0x20, 0, Bytes("PRN 7401"));
  const auto wire = Concat(Bytes("xyz\x01\x02"), reply);
  Pty.WriteToHost(wire);
  ASSERT_EQ(Receive(), 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Data), 8), "PRN 7401");
  const auto expected = DumpOf(wire, 5 + kHeaderSize);
  ASSERT_EQ(Lines().size(), 1 + expected.size());
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 25 bytes")) << Lines()[0];
  EXPECT_EQ(std::vector<std::string>(Lines().begin() + 1, Lines().end()), expected);
  // Stray bytes and header make 17 bytes, so the header dump takes two lines.
  EXPECT_EQ(expected.size(), 3u);
  EXPECT_EQ(Lines()[1].substr(4, 15), "78 79 7A 01 02 ");
}

TEST_F(Receiver, TheStartByteClosestToTheDirectionByteStartsThePacket) {
  for (const auto& prefix : {std::vector<uint8_t>{0x03}, std::vector<uint8_t>{0x03, 0x41}}) {
    Trace.Clear();
    const auto wire = Concat(prefix, BuildFlawedReply(0x20, 0, Bytes("abcd")));
    Pty.WriteToHost(wire);
    ASSERT_EQ(Receive(), 4);
    EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: " + std::to_string(wire.size()) + " bytes"));
    // The header dump ends with the header, so the start byte that counted is the one
    // before FE, not the first.
    EXPECT_EQ(Lines()[1], DumpOf(wire, prefix.size() + kHeaderSize)[0]);
  }
}

TEST_F(Receiver, AZeroLengthReplyIsTakenWithoutItsDataCheckAndLeavesTheBufferAlone) {
  auto reply = BuildFlawedReply(0x2F, 1, {});
  reply[11] = 0x77;  // not a valid data check for no data, and not looked at
  std::memset(Data, 0xAA, sizeof Data);
  Pty.WriteToHost(reply);
  EXPECT_EQ(Receive(), 0);
  EXPECT_TRUE(std::all_of(std::begin(Data), std::end(Data), [](uint8_t b) { return b == 0xAA; }));
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 12 bytes"));
}

TEST_F(Receiver, ABadHeaderFailsTheWaitEvenWithAGoodPacketBehindIt) {
  TReplyFlaws flaws;
  flaws.BadHeaderCheck = true;
  const auto bad = BuildFlawedReply(0x20, 0, Bytes("PRN 7401"), flaws);
  const auto good = BuildFlawedReply(0x20, 0, Bytes("PRN 7401"));
  Pty.WriteToHost(Concat(bad, good));
  EXPECT_EQ(Receive(), -1);
  // Header blocks of ten are read and tested again until one comes up short: the 40
  // bytes give 2 + 3 x 10, and the last 8 are not counted.
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 32 bytes")) << Lines()[0];
}

TEST_F(Receiver, ABadDataCheckFailsTheWait) {
  TReplyFlaws flaws;
  flaws.BadDataCheck = true;
  Pty.WriteToHost(BuildFlawedReply(0x20, 0, Bytes("PRN 7401"), flaws));
  std::memset(Data, 0xAA, sizeof Data);
  EXPECT_EQ(Receive(300), -1);
  EXPECT_EQ(Data[0], 0xAA);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 20 bytes"));
  EXPECT_EQ(Lines().size(), 3u);
}

TEST_F(Receiver, MoreThanTwoThousandStrayBytesEndTheWaitWithTimeLeft) {
  Pty.WriteToHost(std::vector<uint8_t>(2100, 0x41));
  EXPECT_EQ(Receive(5000), -1);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 2001 bytes")) << Lines()[0];
  // The wait stopped taking bytes in: the rest is still queued.
  uint8_t rest[200];
  EXPECT_EQ(Port.Read(rest, 200, 300), 99);
}

TEST_F(Receiver, AHeaderPastTheHuntLimitIsNotCompleted) {
  // 1995 stray bytes and a header ending at byte 2007: the pass after the header ends
  // the loop before the data is read.
  const auto wire = Concat(std::vector<uint8_t>(1995, 0x41), BuildFlawedReply(0x20, 0, Bytes("PRN 7401")));
  Pty.WriteToHost(wire);
  EXPECT_EQ(Receive(2000), -1);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 2007 bytes")) << Lines()[0];
}

TEST_F(Receiver, NothingInTimeGivesACountOfZeroAndNoDump) {
  EXPECT_EQ(Receive(100), -1);
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 0 bytes"));
}

TEST_F(Receiver, RepliesLeftQueuedAreTakenByTheNextWaits) {
  Pty.WriteToHost(Concat(BuildFlawedReply(0x20, 0, Bytes("first")), BuildFlawedReply(0x60, 0, Bytes("second"))));
  EXPECT_EQ(Receive(), 5);
  EXPECT_EQ(Receive(), 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Data), 6), "second");
}

// Replies that would not fit: refused as a failed wait, with nothing stored past the
// caller's buffer.
class ReceiverOverflow : public Receiver {
 protected:
  static constexpr int kCapacity = 255;
  static constexpr uint8_t kGuard = 0xCC;
  void SetUp() override {
    Receiver::SetUp();
    std::memset(Guarded, kGuard, sizeof Guarded);
  }
  bool GuardIntact() const {
    return std::all_of(Guarded + kCapacity, std::end(Guarded), [](uint8_t b) { return b == kGuard; });
  }
  uint8_t Guarded[kCapacity + 64] = {};
};

TEST_F(ReceiverOverflow, MoreDataThanTheCallerCanTakeIsRefused) {
  Pty.WriteToHost(BuildFlawedReply(0x20, 0, std::vector<uint8_t>(300, 0x55)));
  EXPECT_EQ(ReceiveSerialReply(Port, Guarded, kCapacity, 500, Trace), -1);
  EXPECT_TRUE(GuardIntact());
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Rec: 12 bytes"));
}

TEST_F(ReceiverOverflow, DataPastTheReceiveBufferIsRefused) {
  // 10 stray bytes + 12 + 2030 = 2052 > 2048, though the caller could take 4095.
  std::vector<uint8_t> big(4095 + 64, kGuard);
  Pty.WriteToHost(Concat(std::vector<uint8_t>(10, 0x41), BuildFlawedReply(0x20, 0, std::vector<uint8_t>(2030, 0x55))));
  EXPECT_EQ(ReceiveSerialReply(Port, big.data(), 4095, 500, Trace), -1);
  EXPECT_TRUE(std::all_of(big.begin(), big.end(), [](uint8_t b) { return b == kGuard; }));

  // The largest packet that still fits is taken.
  Trace.Clear();
  uint8_t rest[4096];
  while (Port.Read(rest, sizeof rest, 150) > 0) {
  }
  Pty.WriteToHost(BuildFlawedReply(0x20, 0, std::vector<uint8_t>(2036, 0x55)));
  EXPECT_EQ(ReceiveSerialReply(Port, big.data(), 4095, 2000, Trace), 2036);
  EXPECT_EQ(big[2036], kGuard);
}

}  // namespace
}  // namespace printset
