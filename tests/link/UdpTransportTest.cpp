// The network transport: the link against the simulated printer on UDP, and against a
// bare peer for datagrams no printer should send.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <cstring>
#include <memory>

#include "support/TraceMatch.h"
#include "support/UdpPeer.h"
#include "link/PacketCodec.h"
#include "link/PacketLink.h"
#include "link/UdpTransport.h"
#include "sim/SimPrinter.h"

namespace printset {
namespace {

class UdpLink : public ::testing::Test {
 protected:
  // Points the link at the port `port` of this host.
  void Aim(uint16_t port) {
    Udp = std::make_unique<TUdpTransport>(TUdpAddress{"127.0.0.1", port});
    Link.UseTransport(*Udp);
  }
  int Identify(uint32_t ms = 500) {
    std::memcpy(Buffer, "DEVICE??", 8);
    return Link.Transact(0x20, 0, Buffer, 4095, 8, 1, ms);
  }
  const std::vector<std::string>& Lines() const { return Trace.GetLines(); }

  TTraceLog Trace;
  std::unique_ptr<TUdpTransport> Udp = std::make_unique<TUdpTransport>(TUdpAddress{});
  TPacketLink Link{*Udp, Trace};
  uint8_t Buffer[4096] = {};
};

class SimOverUdp : public UdpLink {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Sim.StartUdp(0)) << Sim.LastError();
    ASSERT_NE(Sim.UdpPort(), 0);
    Aim(Sim.UdpPort());
  }
  TSimPrinter Sim;
};

TEST_F(SimOverUdp, IdentifyTravelsAsOneDatagramEachWay) {
  ASSERT_EQ(Identify(), 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buffer), 8), "PRN 7401");
  ASSERT_EQ(Lines().size(), 6u);
  EXPECT_TRUE(IsStampedLine(Lines()[0], "Send 20 bytes"));
  EXPECT_TRUE(IsStampedLine(Lines()[3], "Rec: 20 bytes"));
  EXPECT_EQ(Sim.Requests().at(0).Data.size(), 8u);
}

TEST_F(SimOverUdp, WrongCheckBytesAreNotTestedOnThisTransport) {
  Sim.SetBadHeaderCheck(true);
  Sim.SetBadDataCheck(true);
  EXPECT_EQ(Identify(), 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buffer), 8), "PRN 7401");
}

TEST_F(SimOverUdp, ADatagramNotStartingWithTheReplyHeaderFails) {
  Sim.SetStrayBytes(5);
  EXPECT_EQ(Identify(), -1);
  ASSERT_GE(Lines().size(), 4u);
  EXPECT_TRUE(IsStampedLine(Lines()[3], "Rec: 25 bytes")) << Lines()[3];
}

TEST_F(SimOverUdp, NoAnswerAndOversizeAnswersFail) {
  Sim.SetNoReply(0x20);
  EXPECT_EQ(Identify(100), -1);
  EXPECT_TRUE(IsStampedLine(Lines().back(), "Rec: 0 bytes"));
  Sim.SetNoReply(0x20, false);
  Sim.SetOversizeReply(4096);
  Trace.Clear();
  EXPECT_EQ(Identify(), -1);
  // Only what fits the receive buffer was kept and traced.
  EXPECT_TRUE(IsStampedLine(Lines()[3], "Rec: 2048 bytes")) << Lines()[3];
}

TEST_F(UdpLink, AMisfitDatagramEndsTheWaitAtOnceAndTheNextWaitTakesWhatFollows) {
  TUdpPeer peer;
  Aim(peer.Port());
  const std::vector<uint8_t> request = {0x03, 0xFF, 0x2F, 0, 1, 0, 0, 0, 0, 0, 0x03 ^ 0xFF ^ 0x2F ^ 1, 0};
  Link.SendPacket(request.data(), static_cast<int>(request.size()));
  ASSERT_EQ(peer.Receive(2000), request);
  // A datagram that is not a reply, then a reply: the first wait ends on the first one
  // instead of waiting on, so the reply is left for the second wait.
  peer.Reply({0x41, 0x42, 0x43});
  peer.Reply({0x03, 0xFE, 0x2F, 0, 1, 0, 0, 0, 2, 0, 0xAA, 0xBB, 'o', 'k'});
  EXPECT_EQ(Link.ReceiveReply(Buffer, 255, 5000), -1);
  EXPECT_EQ(Link.ReceiveReply(Buffer, 255, 5000), 2);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buffer), 2), "ok");
}

TEST_F(UdpLink, ADatagramShorterThanItsAnnouncedDataIsRefused) {
  TUdpPeer peer;
  Aim(peer.Port());
  uint8_t guarded[255 + 32];
  std::memset(guarded, 0xCC, sizeof guarded);
  const std::vector<uint8_t> request = {0x03, 0xFF, 0x20, 0, 0, 0, 0, 0, 0, 0, 0x03 ^ 0xFF ^ 0x20, 0};
  Link.SendPacket(request.data(), static_cast<int>(request.size()));
  ASSERT_FALSE(peer.Receive(2000).empty());
  peer.Reply({0x03, 0xFE, 0x20, 0, 0, 0, 0, 0, 10, 0, 0, 0, 'a', 'b', 'c', 'd'});
  EXPECT_EQ(Link.ReceiveReply(guarded, 255, 2000), -1);
  // And one with more data than the caller can take.
  std::vector<uint8_t> big = {0x03, 0xFE, 0x20, 0, 0, 0, 0, 0, 0x2C, 0x01, 0, 0};  // N = 300
  big.resize(12 + 300, 0x55);
  peer.Reply(big);
  EXPECT_EQ(Link.ReceiveReply(guarded, 255, 2000), -1);
  EXPECT_TRUE(std::all_of(std::begin(guarded), std::end(guarded), [](uint8_t b) { return b == 0xCC; }));
  EXPECT_TRUE(IsStampedLine(Lines()[2], "Rec: 16 bytes")) << Lines()[2];  // after the send line and its dump
}

TEST_F(UdpLink, ADatagramLongerThanTheReceiveBufferIsRefusedWhateverItsHeaderSays) {
  TUdpPeer peer;
  Aim(peer.Port());
  const std::vector<uint8_t> request = {0x03, 0xFF, 0x20, 0, 0, 0, 0, 0, 0, 0, 0x03 ^ 0xFF ^ 0x20, 0};
  ASSERT_TRUE(Link.SendPacket(request.data(), static_cast<int>(request.size())));
  ASSERT_FALSE(peer.Receive(2000).empty());
  // A reply announcing 2 data bytes, followed by padding up to the datagram's length.
  const auto reply = [](size_t length) {
    std::vector<uint8_t> datagram = {0x03, 0xFE, 0x20, 0, 0, 0, 0, 0, 2, 0, 0, 0, 'o', 'k'};
    datagram.resize(length, 0x55);
    return datagram;
  };
  peer.Reply(reply(kReceiveBufferSize));
  EXPECT_EQ(Link.ReceiveReply(Buffer, 255, 2000), 2) << "a datagram that just fits";
  peer.Reply(reply(kReceiveBufferSize + 1));
  EXPECT_EQ(Link.ReceiveReply(Buffer, 255, 2000), -1) << "one byte more than the buffer holds";
}

TEST_F(UdpLink, ARefusalLeftOverFromTheLastDatagramDoesNotStopTheNext) {
  uint16_t closedPort = 0;
  {
    TUdpPeer gone;  // a port that was free a moment ago: nobody listens there now
    closedPort = gone.Port();
  }
  TUdpEndpoint endpoint({"127.0.0.1", closedPort});
  const uint8_t datagram[12] = {0x03, 0xFF, 0x20};
  std::string error;
  ASSERT_TRUE(endpoint.Send(datagram, sizeof datagram, error)) << error;
  // The host's "port unreachable" arrives meanwhile and is reported by the next send.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_TRUE(endpoint.Send(datagram, sizeof datagram, error)) << error;
}

}  // namespace
}  // namespace printset
