// The reply receiver, serial and datagram, against arbitrary bytes, capacities and
// reply matches.
//
// Property, serial: nothing is written past the caller's capacity (the data buffer is
// exactly that big, so AddressSanitizer sees any overrun); an accepted reply is a packet
// that really ends where the receiver stopped reading: start and direction bytes, both
// checks holding (the data check only when there are data), its length and data as
// returned, a header the match lets through and not the match's copy, no more data than
// the capacity. And no reply is missed: packets placed after noise free of start bytes,
// each perhaps behind a stray start byte, are skipped while the match refuses them (their
// header, or a copy), and the first one it takes is taken, or refused when its data
// exceed the capacity.
// Property, datagram: the verdict, length, data and header are exactly those the
// datagram's header and the match call for.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzCheck.h"
#include "link/ByteSource.h"
#include "link/ReplyReceiver.h"

namespace printset {
namespace {

// The wire format, spelled out here rather than taken from the codec under test.
constexpr uint8_t kStart = 0x03;
constexpr uint8_t kReply = 0xFE;
constexpr int kHeader = 12;
constexpr int kLargestData = 2048 - kHeader;  // the receive buffer holds header and data
constexpr uint32_t kNoDeadline = 60000;       // the scripted source never waits

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | static_cast<uint32_t>(Le16(p + 2)) << 16; }

uint8_t Xor(const uint8_t* p, size_t count) {
  uint8_t x = 0;
  for (size_t i = 0; i < count; ++i) x ^= p[i];
  return x;
}

// Hands out its bytes; past the end a read comes up short, as on a quiet line, or fails.
class TScriptedSource : public TByteSource {
 public:
  TScriptedSource(const std::vector<uint8_t>& script, bool failAtEnd) : Script(script), FailAtEnd(failAtEnd) {}
  int Read(uint8_t* buffer, int count, uint32_t) override {
    if (At == Script.size() && FailAtEnd) return -1;
    const size_t n = std::min(static_cast<size_t>(count), Script.size() - At);
    if (n > 0) std::memcpy(buffer, Script.data() + At, n);
    At += n;
    return static_cast<int>(n);
  }
  size_t Consumed() const { return At; }

 private:
  const std::vector<uint8_t>& Script;
  bool FailAtEnd;
  size_t At = 0;
};

// A data buffer of exactly `capacity` bytes (none when it is negative).
std::unique_ptr<uint8_t[]> DataBuffer(int capacity) {
  return std::make_unique<uint8_t[]>(static_cast<size_t>(std::max(capacity, 0)));
}

// Headers small enough that packets hit them; the copy, when there is one, is chosen once
// the planted packets are known.
TReplyMatch MatchFrom(FuzzedDataProvider& input) {
  TReplyMatch match;
  match.Command = input.ConsumeIntegralInRange<uint16_t>(0, 3);
  match.Argument = input.ConsumeIntegralInRange<uint32_t>(0, 1);
  match.CommandEchoed = input.ConsumeBool();
  match.ArgumentEchoed = input.ConsumeBool();
  return match;
}

// Whether the match takes the whole packet as the reply.
bool Takes(const TReplyMatch& match, const uint8_t* packet, size_t length) {
  return match.HeaderFits(Le16(packet + 2), Le32(packet + 4)) && !match.IsCopy(packet, length);
}

struct TReceived {
  int Result = -1;
  TReplySeen Seen{{0xBEEF, 0xDEADBEEF, {}}, {}};
  size_t Consumed = 0;
};

TReceived ReceiveSerial(const std::vector<uint8_t>& stream, bool failAtEnd, uint8_t* data, int capacity,
                        const TReplyMatch& match, bool traced) {
  TScriptedSource source(stream, failAtEnd);
  TTraceLog trace;
  trace.TraceEnabled = traced;
  TReceived received;
  received.Result = ReceiveSerialReply(source, data, capacity, kNoDeadline, trace, match, &received.Seen);
  received.Consumed = source.Consumed();
  return received;
}

// An accepted serial reply is the packet that ends where reading stopped.
void RequireGenuine(const std::vector<uint8_t>& stream, const TReceived& received, const uint8_t* data,
                    int capacity, const TReplyMatch& match) {
  const int n = received.Result;
  Require(n >= 0 && n <= kLargestData && (n == 0 || n <= capacity));
  Require(received.Consumed >= static_cast<size_t>(kHeader + n));
  const uint8_t* packet = stream.data() + received.Consumed - kHeader - n;
  Require(packet[0] == kStart && packet[1] == kReply && Xor(packet, kHeader - 1) == 0);
  // An empty reply is taken on its header alone; its data check byte is not examined.
  Require(Le16(packet + 8) == n && (n == 0 || Xor(packet + 11, static_cast<size_t>(n) + 1) == 0));
  Require(std::equal(packet + kHeader, packet + kHeader + n, data));
  const TSeenPacket& header = received.Seen.Accepted;
  Require(header.Command == Le16(packet + 2) && header.Argument == Le32(packet + 4));
  Require(std::equal(header.Bytes.begin(), header.Bytes.end(), packet) && header.Bytes.size() == size_t(kHeader + n));
  Require(Takes(match, packet, static_cast<size_t>(kHeader + n)));
  for (const TSeenPacket& skipped : received.Seen.Skipped)
    Require(!match.HeaderFits(skipped.Command, skipped.Argument) || match.IsCopy(skipped.Bytes.data(), skipped.Bytes.size()));
}

void AppendPacket(std::vector<uint8_t>& stream, uint16_t command, uint32_t argument,
                  const std::vector<uint8_t>& data) {
  const size_t at = stream.size();
  stream.insert(stream.end(), {kStart, kReply, static_cast<uint8_t>(command), static_cast<uint8_t>(command >> 8),
                               static_cast<uint8_t>(argument), static_cast<uint8_t>(argument >> 8),
                               static_cast<uint8_t>(argument >> 16), static_cast<uint8_t>(argument >> 24),
                               static_cast<uint8_t>(data.size()), static_cast<uint8_t>(data.size() >> 8), 0, 0});
  stream[at + 10] = Xor(stream.data() + at, kHeader - 2);
  stream[at + 11] = Xor(data.data(), data.size());
  stream.insert(stream.end(), data.begin(), data.end());
}

void CheckDatagram(const std::vector<uint8_t>& datagram, int capacity, const TReplyMatch& match) {
  const std::unique_ptr<uint8_t[]> data = DataBuffer(capacity);
  TTraceLog trace;
  int result = 12345;
  TReplySeen seen{{0xBEEF, 0xDEADBEEF, {}}, {}};
  const int length = static_cast<int>(datagram.size());
  const TDatagramVerdict verdict =
      AcceptReplyDatagram(datagram.data(), length, data.get(), capacity, trace, match, result, &seen);
  const bool framed = length >= kHeader && datagram[0] == kStart && datagram[1] == kReply;
  if (!framed) {
    Require(verdict == TDatagramVerdict::Refused && result == -1);
    return;
  }
  const uint16_t command = Le16(&datagram[2]);
  const uint32_t argument = Le32(&datagram[4]);
  const int n = Le16(&datagram[8]);
  const bool whole = length >= kHeader + n;
  if (!match.HeaderFits(command, argument) || (whole && match.IsCopy(datagram.data(), size_t(kHeader + n)))) {
    Require(verdict == TDatagramVerdict::Skipped && result == -1);
  } else if (n > capacity || length < kHeader + n) {
    Require(verdict == TDatagramVerdict::Refused && result == -1);
  } else {
    Require(verdict == TDatagramVerdict::Accepted && result == n);
    Require(std::equal(datagram.begin() + kHeader, datagram.begin() + kHeader + n, data.get()));
    Require(seen.Accepted.Command == command && seen.Accepted.Argument == argument);
  }
}

}  // namespace
}  // namespace printset

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace printset;
  FuzzedDataProvider input(bytes, size);
  const int capacity = input.ConsumeIntegralInRange<int>(-2, 2100);
  TReplyMatch match = MatchFrom(input);
  const int copyOf = input.ConsumeIntegralInRange<int>(-1, 1);
  const bool failAtEnd = input.ConsumeBool();
  const bool traced = input.ConsumeBool();

  // Planted packets, described before the noise so that the noise is what grows.
  struct TPlanted {
    uint16_t Command;
    uint32_t Argument;
    bool StrayStart;  // a lone start byte just before the packet's own
    std::vector<uint8_t> Data;
  };
  std::vector<TPlanted> planted(input.ConsumeIntegralInRange<size_t>(0, 2));
  for (TPlanted& packet : planted) {
    packet.Command = input.ConsumeIntegralInRange<uint16_t>(0, 3);
    packet.Argument = input.ConsumeIntegralInRange<uint32_t>(0, 1);
    packet.StrayStart = input.ConsumeBool();
    packet.Data = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 400));
  }
  const std::vector<uint8_t> noise = input.ConsumeRemainingBytes<uint8_t>();
  // A copy to skip: one of the planted packets, whole.
  std::vector<uint8_t> copy;
  if (copyOf >= 0 && static_cast<size_t>(copyOf) < planted.size()) {
    const TPlanted& packet = planted[static_cast<size_t>(copyOf)];
    AppendPacket(copy, packet.Command, packet.Argument, packet.Data);
    match.Copy = &copy;
  }

  // Whatever arrives: only a genuine reply is accepted, nothing stored past the capacity.
  {
    const std::unique_ptr<uint8_t[]> data = DataBuffer(capacity);
    const TReceived received = ReceiveSerial(noise, failAtEnd, data.get(), capacity, match, traced);
    if (received.Result >= 0) RequireGenuine(noise, received, data.get(), capacity, match);
    CheckDatagram(noise, capacity, match);
  }

  // Packets after noise without start bytes: the first that the match accepts is found.
  std::vector<uint8_t> stream(noise.begin(), noise.begin() + std::min<std::ptrdiff_t>(std::ssize(noise), 500));
  std::replace(stream.begin(), stream.end(), kStart, static_cast<uint8_t>(kStart + 1));
  const TPlanted* expected = nullptr;
  for (const TPlanted& packet : planted) {
    if (packet.StrayStart) stream.push_back(kStart);
    const size_t at = stream.size();
    AppendPacket(stream, packet.Command, packet.Argument, packet.Data);
    // The first packet whose header fits ends the wait: taken, or refused when its data
    // do not fit; only a copy that fits is skipped.
    const bool tooLong = !packet.Data.empty() && static_cast<int>(packet.Data.size()) > capacity;
    if (!expected && match.HeaderFits(packet.Command, packet.Argument) &&
        (tooLong || !match.IsCopy(stream.data() + at, stream.size() - at)))
      expected = &packet;
  }
  const std::unique_ptr<uint8_t[]> data = DataBuffer(capacity);
  const TReceived received = ReceiveSerial(stream, failAtEnd, data.get(), capacity, match, traced);
  const int expectedSize = expected ? static_cast<int>(expected->Data.size()) : -1;
  if (!expected || (expectedSize > 0 && expectedSize > capacity)) {
    Require(received.Result == -1);
    return 0;
  }
  Require(received.Result == expectedSize);
  Require(std::equal(expected->Data.begin(), expected->Data.end(), data.get()));
  Require(received.Seen.Accepted.Command == expected->Command && received.Seen.Accepted.Argument == expected->Argument);
  return 0;
}
