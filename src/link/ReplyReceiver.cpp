#include "link/ReplyReceiver.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/Deadline.h"
#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {

// Reads and drops `count` bytes that have no room anywhere, within the deadline. Returns
// how many were read off the line.
int Drain(TByteSource& source, int count, const TDeadline& deadline) {
  uint8_t scratch[kReceiveBufferSize];
  int drained = 0;
  while (drained < count && !deadline.Expired()) {
    const int want = count - drained < kReceiveBufferSize ? count - drained : kReceiveBufferSize;
    const int got = source.Read(scratch, want, deadline.MillisLeft());
    if (got > 0) drained += got;
    if (got < want) break;
  }
  return drained;
}

TSeenPacket Seen(uint16_t command, uint32_t argument, const uint8_t* bytes, size_t count) {
  return {command, argument, std::vector<uint8_t>(bytes, bytes + count)};
}

// A packet skipped by a wait, and whether it was skipped as a copy.
struct TSkipped {
  TSeenPacket Packet;
  bool Copy = false;
};

}  // namespace

void TraceReceived(TTraceLog& trace, const uint8_t* taken, int count, int start) {
  if (!trace.TraceEnabled) return;
  trace.TraceLine("Rec: " + std::to_string(count) + " bytes" + TraceTimestampNow());
  const int headerEnd = start + kHeaderSize;
  if (count > headerEnd) {
    trace.TraceHexDump(taken, static_cast<size_t>(headerEnd));
    trace.TraceHexDump(taken + headerEnd, static_cast<size_t>(count - headerEnd));
  } else {
    trace.TraceHexDump(taken, static_cast<size_t>(count));
  }
}

void TraceSkippedReply(TTraceLog& trace, const TSeenPacket& packet, bool copy) {
  char line[112];
  std::snprintf(line, sizeof line, "Skip: reply cmd=0x%04X arg=0x%08X %s", packet.Command, packet.Argument,
                copy ? "repeats another request's reply" : "belongs to another request");
  trace.TraceLine(line);
}

int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                       const TReplyMatch& match, TReplySeen* seen) {
  uint8_t buffer[kReceiveBufferSize];
  int taken = 0;
  int start = 0;
  int length = 0;
  int drained = 0;
  bool accepted = false;
  bool refused = false;
  std::vector<TSkipped> skipped;
  TPacketHeader current;
  TReceiverState state = TReceiverState::Hunting;
  const TDeadline deadline(ms);

  for (;;) {
    if (accepted || refused || taken > kHuntLimit || deadline.Expired()) break;

    int want = 1;
    if (state == TReceiverState::ReadingHeader) want = kHeaderSize - 2;
    if (state == TReceiverState::ReadingData || state == TReceiverState::SkippingData) want = length;
    if (taken + want > kReceiveBufferSize) break;  // would not fit: refused
    const int got = source.Read(buffer + taken, want, deadline.MillisLeft());
    if (got < want) break;
    const uint8_t byte = buffer[taken];
    const int at = taken;
    taken += want;

    switch (state) {
      case TReceiverState::Hunting:
        if (byte == kStartByte) {
          start = at;
          state = TReceiverState::StartSeen;
        }
        break;
      case TReceiverState::StartSeen:
        if (byte == kDirectionReply) {
          state = TReceiverState::ReadingHeader;
        } else if (byte == kStartByte) {
          start = at;
        } else {
          state = TReceiverState::Hunting;
        }
        break;
      case TReceiverState::ReadingHeader: {
        // A bad header stays bad: further blocks are read and the same bytes tested again.
        current = ParseHeader(buffer + start, kDirectionReply);
        if (!current.Valid) break;
        length = current.Length;
        const bool fits = start + kHeaderSize + length <= kReceiveBufferSize;
        if (!match.HeaderFits(current.Command, current.Argument)) {
          // Another request's reply: step over it, data and all, and hunt on.
          if (length == 0) {
            skipped.push_back({Seen(current.Command, current.Argument, buffer + start, kHeaderSize)});
            state = TReceiverState::Hunting;
          } else if (fits) {
            state = TReceiverState::SkippingData;
          } else {
            skipped.push_back({Seen(current.Command, current.Argument, buffer + start, kHeaderSize)});
            drained += Drain(source, length, deadline);
            state = TReceiverState::Hunting;
          }
        } else if (length == 0) {
          if (match.IsCopy(buffer + start, kHeaderSize)) {
            skipped.push_back({Seen(current.Command, current.Argument, buffer + start, kHeaderSize), true});
            state = TReceiverState::Hunting;
          } else {
            accepted = true;
          }
        } else if (length > capacity || !fits) {
          refused = true;  // the data could not be stored
          drained += Drain(source, length, deadline);
        } else {
          state = TReceiverState::ReadingData;
        }
        break;
      }
      case TReceiverState::ReadingData:
        if (DataCheckHolds(buffer[start + 11], buffer + start + kHeaderSize, static_cast<size_t>(length))) {
          const size_t whole = static_cast<size_t>(kHeaderSize + length);
          if (match.IsCopy(buffer + start, whole)) {
            skipped.push_back({Seen(current.Command, current.Argument, buffer + start, whole), true});
            state = TReceiverState::Hunting;
          } else {
            std::memcpy(data, buffer + start + kHeaderSize, static_cast<size_t>(length));
            accepted = true;
          }
        }
        break;
      case TReceiverState::SkippingData:
        skipped.push_back({Seen(current.Command, current.Argument, buffer + start,
                                static_cast<size_t>(kHeaderSize + length))});
        state = TReceiverState::Hunting;
        break;
    }
  }
  TraceReceived(trace, buffer, taken, start);
  if (trace.TraceEnabled) {
    for (const TSkipped& other : skipped) TraceSkippedReply(trace, other.Packet, other.Copy);
    if (drained > 0)
      trace.TraceLine("Drained " + std::to_string(drained) + " bytes of a reply too long to take" +
                      TraceTimestampNow());
  }
  if (seen)
    for (TSkipped& other : skipped) seen->Skipped.push_back(std::move(other.Packet));
  if (!accepted) return -1;
  if (seen) seen->Accepted = Seen(current.Command, current.Argument, buffer + start,
                                  static_cast<size_t>(kHeaderSize + length));
  return length;
}

TDatagramVerdict AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                                     TTraceLog& trace, const TReplyMatch& match, int& result,
                                     TReplySeen* seen) {
  result = -1;
  const int count = length < 0 ? 0 : length;
  TraceReceived(trace, datagram, count, 0);
  if (count < kHeaderSize || datagram[0] != kStartByte || datagram[1] != kDirectionReply)
    return TDatagramVerdict::Refused;
  const uint16_t command = GetLe16(datagram + 2);
  const uint32_t argument = GetLe32(datagram + 4);
  const int n = GetLe16(datagram + 8);
  const bool whole = count >= kHeaderSize + n;
  const TSeenPacket packet =
      Seen(command, argument, datagram, static_cast<size_t>(whole ? kHeaderSize + n : kHeaderSize));
  const bool copy = whole && match.IsCopy(datagram, static_cast<size_t>(kHeaderSize + n));
  if (!match.HeaderFits(command, argument) || copy) {
    if (trace.TraceEnabled) TraceSkippedReply(trace, packet, copy);
    if (seen) seen->Skipped.push_back(packet);
    return TDatagramVerdict::Skipped;
  }
  if (n > capacity || !whole) return TDatagramVerdict::Refused;
  std::memcpy(data, datagram + kHeaderSize, static_cast<size_t>(n));
  if (seen) seen->Accepted = packet;
  result = n;
  return TDatagramVerdict::Accepted;
}

}  // namespace printset
