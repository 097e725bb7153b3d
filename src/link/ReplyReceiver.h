// Taking one reply packet in, on either transport, and tracing what was taken in.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/ByteSource.h"
#include "link/TraceLog.h"

namespace printset {

enum class TReceiverState { Hunting, StartSeen, ReadingHeader, ReadingData, SkippingData };

// Which replies a wait may accept. With Required set, a good packet whose command or
// argument differs from the request's is the reply to some other request: it is skipped
// (traced) and the wait goes on within the same deadline. Without it, packets carrying
// one of OtherCommands (commands the printer is known to echo, other than this one) are
// skipped the same way, and any other packet is accepted.
struct TReplyMatch {
  bool Required = false;
  uint16_t Command = 0;
  uint32_t Argument = 0;
  std::vector<uint16_t> OtherCommands;
  bool Accepts(uint16_t command, uint32_t argument) const {
    if (Required) return command == Command && argument == Argument;
    return std::find(OtherCommands.begin(), OtherCommands.end(), command) == OtherCommands.end();
  }
};

// What the accepted packet's header said, for learning whether the printer echoes.
struct TReplyHeader {
  uint16_t Command = 0;
  uint32_t Argument = 0;
};

// Serial transport: hunts for 03 FE, checks the header and the data, within `ms` of a
// steady clock. A failed check is final for the wait. A reply whose data would not fit
// the receive buffer or `capacity` is refused as a failed wait, and its announced data
// are read off the line (within the deadline) so that the next wait does not hunt inside
// them. Returns the reply's data length, copied to `data` (never more than `capacity`
// bytes written), or -1; `header`, when given, receives the accepted packet's header.
int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                       const TReplyMatch& match = {}, TReplyHeader* header = nullptr);

// Outcome of one datagram for the network transport.
enum class TDatagramVerdict { Accepted, Refused, Skipped };

// Network transport: one datagram of `length` bytes (`length` < 0: none arrived in time).
// Check bytes are not tested; a datagram not starting 03 FE, shorter than its header plus
// its data, or with more data than `capacity`, is refused; one that `match` does not
// accept is skipped. `result` is N when accepted, else -1.
TDatagramVerdict AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                                     TTraceLog& trace, const TReplyMatch& match, int& result,
                                     TReplyHeader* header = nullptr);

// The receive line and the dump of what one wait took in.
void TraceReceived(TTraceLog& trace, const uint8_t* taken, int count, int start);

// "Skip: reply cmd=0x002E arg=0x00000100 belongs to another request" and the like.
void TraceSkippedReply(TTraceLog& trace, uint16_t command, uint32_t argument);

}  // namespace printset
