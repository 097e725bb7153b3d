// The receiver against many random byte streams, fed from memory: whatever arrives, it
// never stores past the caller's capacity, and what it accepts is a packet that was sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "link/ByteSource.h"
#include "link/PacketCodec.h"
#include "link/ReplyReceiver.h"

namespace printset {
namespace {

// Hands out the script's bytes; a read past its end comes up short, as a quiet line does.
class TScriptedSource : public TByteSource {
 public:
  explicit TScriptedSource(std::vector<uint8_t> script) : Script(std::move(script)) {}
  int Read(uint8_t* buffer, int count, uint32_t) override {
    const int n = std::min(count, static_cast<int>(Script.size() - At));
    std::memcpy(buffer, Script.data() + At, static_cast<size_t>(n));
    At += static_cast<size_t>(n);
    return n;
  }

 private:
  std::vector<uint8_t> Script;
  size_t At = 0;
};

TEST(ReceiverStream, RandomStreamsNeverOverrunAndOnlyAcceptWhatWasSent) {
  std::mt19937 random(20261208);
  constexpr int kCapacity = 255;
  constexpr int kGuard = 64;
  int accepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> stream;
    const int stray = std::uniform_int_distribution<int>(0, 40)(random);
    for (int i = 0; i < stray; ++i) {
      // Start and direction bytes are common in the noise on purpose.
      const int pick = std::uniform_int_distribution<int>(0, 9)(random);
      stream.push_back(pick == 0 ? kStartByte : pick == 1 ? kDirectionReply : static_cast<uint8_t>(random()));
    }
    const int length = std::uniform_int_distribution<int>(0, 1)(random) ? std::uniform_int_distribution<int>(0, 300)(random)
                                                                       : std::uniform_int_distribution<int>(0, 4000)(random);
    std::vector<uint8_t> data(static_cast<size_t>(length));
    for (auto& b : data) b = static_cast<uint8_t>(random());
    std::vector<uint8_t> packet;
    BuildPacket(kDirectionReply, 0x20, 0, data.data(), data.size(), packet);
    PutLe16(&packet[8], static_cast<uint16_t>(length));
    packet[10] = XorBytes(packet.data(), 10);
    const int damage = std::uniform_int_distribution<int>(0, 5)(random);
    if (damage == 0) packet[10] ^= 0x40;                             // header check
    if (damage == 1 && length > 0) packet[12 + length / 2] ^= 0x01;  // data
    if (damage == 2) packet.resize(packet.size() / 2);               // cut short
    stream.insert(stream.end(), packet.begin(), packet.end());

    std::vector<uint8_t> buffer(kCapacity + kGuard, 0xA5);
    TScriptedSource source(stream);
    TTraceLog trace;
    const int result = ReceiveSerialReply(source, buffer.data(), kCapacity, 5000, trace);
    for (int i = kCapacity; i < kCapacity + kGuard; ++i) ASSERT_EQ(buffer[static_cast<size_t>(i)], 0xA5) << round;
    if (result < 0) continue;
    ++accepted;
    // Accepted: the packet as sent, undamaged and within the capacity. (Noise can hold a
    // valid empty packet of its own, which is accepted before the real one.)
    ASSERT_LE(result, kCapacity) << round;
    if (result > 0) {
      ASSERT_EQ(result, length) << round;
      ASSERT_TRUE(damage > 2 || (damage == 1 && length == 0)) << round;
      ASSERT_EQ(0, std::memcmp(buffer.data(), data.data(), static_cast<size_t>(result))) << round;
    }
  }
  EXPECT_GT(accepted, 500) << "the streams should mostly carry good packets";
}

TEST(ReceiverStream, AnotherRequestsReplyIsSteppedOverDataAndAll) {
  // A late reply to another request whose data happen to hold a whole reply packet to
  // this one: the hunt goes on after those data, never inside them.
  const auto packet = [](uint16_t command, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes;
    BuildPacket(kDirectionReply, command, 0, data.data(), data.size(), bytes);
    return bytes;
  };
  const std::vector<uint8_t> inner = packet(0x20, {'W', 'R', 'O', 'N', 'G', '!', '!', '!'});
  const std::vector<uint8_t> late = packet(0x2F, inner);
  const std::vector<uint8_t> own = packet(0x20, {'P', 'R', 'N', ' ', '7', '4', '0', '1'});
  std::vector<uint8_t> lateThenOwn = late;
  lateThenOwn.insert(lateThenOwn.end(), own.begin(), own.end());
  TReplyMatch match;
  match.Command = 0x20;
  match.CommandEchoed = true;
  struct TRow {
    const char* Name;
    std::vector<uint8_t> Stream;
    int Result;
  };
  const TRow rows[] = {{"then its own reply", lateThenOwn, 8}, {"alone", late, -1}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TScriptedSource source(row.Stream);
    TTraceLog trace;
    TReplySeen seen;
    uint8_t data[255] = {};
    EXPECT_EQ(ReceiveSerialReply(source, data, sizeof data, 1000, trace, match, &seen), row.Result);
    if (row.Result > 0) {
      EXPECT_EQ(std::string(data, data + row.Result), "PRN 7401");
    }
    ASSERT_EQ(seen.Skipped.size(), 1u);
    EXPECT_EQ(seen.Skipped[0].Command, 0x2F);
    EXPECT_EQ(seen.Skipped[0].Bytes, late);
  }
}

}  // namespace
}  // namespace printset
