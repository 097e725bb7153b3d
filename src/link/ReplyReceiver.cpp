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

void TraceSkippedReply(TTraceLog& trace, uint16_t command, uint32_t argument) {
  char line[96];
  std::snprintf(line, sizeof line, "Skip: reply cmd=0x%04X arg=0x%08X belongs to another request", command,
                argument);
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
  std::vector<TReplyHeader> skipped;
  TReplyHeader current;
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
        const TPacketHeader parsed = ParseHeader(buffer + start, kDirectionReply);
        if (!parsed.Valid) break;
        length = parsed.Length;
        current = {parsed.Command, parsed.Argument};
        const bool fits = start + kHeaderSize + length <= kReceiveBufferSize;
        if (!match.Accepts(parsed.Command, parsed.Argument)) {
          // Another request's reply: step over it, data and all, and hunt on.
          skipped.push_back(current);
          if (length == 0) {
            state = TReceiverState::Hunting;
          } else if (fits) {
            state = TReceiverState::SkippingData;
          } else {
            drained += Drain(source, length, deadline);
            state = TReceiverState::Hunting;
          }
        } else if (length == 0) {
          accepted = true;
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
          std::memcpy(data, buffer + start + kHeaderSize, static_cast<size_t>(length));
          accepted = true;
        }
        break;
      case TReceiverState::SkippingData:
        state = TReceiverState::Hunting;
        break;
    }
  }
  TraceReceived(trace, buffer, taken, start);
  if (trace.TraceEnabled) {
    for (const TReplyHeader& other : skipped) TraceSkippedReply(trace, other.Command, other.Argument);
    if (drained > 0)
      trace.TraceLine("Drained " + std::to_string(drained) + " bytes of a reply too long to take" +
                      TraceTimestampNow());
  }
  if (seen) seen->Skipped.insert(seen->Skipped.end(), skipped.begin(), skipped.end());
  if (!accepted) return -1;
  if (seen) seen->Accepted = current;
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
  if (!match.Accepts(command, argument)) {
    if (trace.TraceEnabled) TraceSkippedReply(trace, command, argument);
    if (seen) seen->Skipped.push_back({command, argument});
    return TDatagramVerdict::Skipped;
  }
  const int n = GetLe16(datagram + 8);
  if (n > capacity || count < kHeaderSize + n) return TDatagramVerdict::Refused;
  std::memcpy(data, datagram + kHeaderSize, static_cast<size_t>(n));
  if (seen) seen->Accepted = {command, argument};
  result = n;
  return TDatagramVerdict::Accepted;
}

}  // namespace printset
