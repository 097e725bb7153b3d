#include "link/ReplyReceiver.h"

#include <chrono>
#include <cstring>
#include <string>

#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {

using TClock = std::chrono::steady_clock;

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

int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace) {
  uint8_t buffer[kReceiveBufferSize];
  int taken = 0;
  int start = 0;
  int length = 0;
  bool accepted = false;
  bool refused = false;
  TReceiverState state = TReceiverState::Hunting;
  const auto deadline = TClock::now() + std::chrono::milliseconds(ms);

  for (;;) {
    const auto now = TClock::now();
    if (accepted || refused || taken > kHuntLimit || now >= deadline) break;
    const auto leftUs = std::chrono::duration_cast<std::chrono::microseconds>(deadline - now).count();
    const uint32_t left = static_cast<uint32_t>((leftUs + 999) / 1000);

    int want = 1;
    if (state == TReceiverState::ReadingHeader) want = kHeaderSize - 2;
    if (state == TReceiverState::ReadingData) want = length;
    if (taken + want > kReceiveBufferSize) break;  // would not fit: refused
    const int got = source.Read(buffer + taken, want, left);
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
      case TReceiverState::ReadingHeader:
        // A bad header stays bad: further blocks are read and the same bytes tested again.
        if (XorBytes(buffer + start, kHeaderSize - 1) == 0) {
          length = GetLe16(buffer + start + 8);
          if (length == 0) {
            accepted = true;
          } else if (length > capacity || start + kHeaderSize + length > kReceiveBufferSize) {
            refused = true;  // the data could not be stored
          } else {
            state = TReceiverState::ReadingData;
          }
        }
        break;
      case TReceiverState::ReadingData:
        if (DataCheckHolds(buffer[start + 11], buffer + start + kHeaderSize, static_cast<size_t>(length))) {
          std::memcpy(data, buffer + start + kHeaderSize, static_cast<size_t>(length));
          accepted = true;
        }
        break;
    }
  }
  TraceReceived(trace, buffer, taken, start);
  return accepted ? length : -1;
}

int AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                        TTraceLog& trace) {
  const int count = length < 0 ? 0 : length;
  TraceReceived(trace, datagram, count, 0);
  if (count < kHeaderSize || datagram[0] != kStartByte || datagram[1] != kDirectionReply) return -1;
  const int n = GetLe16(datagram + 8);
  if (n > capacity || count < kHeaderSize + n) return -1;
  std::memcpy(data, datagram + kHeaderSize, static_cast<size_t>(n));
  return n;
}

}  // namespace printset
