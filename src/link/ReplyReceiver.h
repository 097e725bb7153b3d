// Taking one reply packet in, on either transport, and tracing what was taken in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "link/ByteSource.h"
#include "link/TraceLog.h"

namespace printset {

enum class TReceiverState { Hunting, StartSeen, ReadingHeader, ReadingData, SkippingData };

// The key of a request or reply header in sets of them.
constexpr uint64_t HeaderKey(uint16_t command, uint32_t argument) { return uint64_t{command} << 32 | argument; }

// Which replies a wait may accept. A good packet naming the request's own command and
// argument is always accepted. With Required set, any other packet is the reply to some
// other request: it is skipped (traced) and the wait goes on within the same deadline.
// Without it, a packet naming one of Earlier (the headers of the job's earlier requests,
// as keys) is skipped the same way unless Allowed names it too; any other packet is
// accepted. Earlier, when set, must outlive the wait.
struct TReplyMatch {
  bool Required = false;
  uint16_t Command = 0;
  uint32_t Argument = 0;
  const std::set<uint64_t>* Earlier = nullptr;
  std::set<uint64_t> Allowed;
  bool Accepts(uint16_t command, uint32_t argument) const {
    if (command == Command && argument == Argument) return true;
    if (Required) return false;
    const uint64_t key = HeaderKey(command, argument);
    return Earlier == nullptr || Earlier->count(key) == 0 || Allowed.count(key) != 0;
  }
};

// A reply packet's command and argument.
struct TReplyHeader {
  uint16_t Command = 0;
  uint32_t Argument = 0;
};

// What one wait saw: the header of the reply it accepted, and those of the packets it
// skipped as other requests' replies, in the order they came.
struct TReplySeen {
  TReplyHeader Accepted;
  std::vector<TReplyHeader> Skipped;
};

// Serial transport: hunts for 03 FE, checks the header and the data, within `ms` of a
// steady clock. A failed check is final for the wait. A reply whose data would not fit
// the receive buffer or `capacity` is refused as a failed wait, and its announced data
// are read off the line (within the deadline) so that the next wait does not hunt inside
// them. Returns the reply's data length, copied to `data` (never more than `capacity`
// bytes written), or -1; `seen`, when given, receives the headers the wait saw.
int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                       const TReplyMatch& match = {}, TReplySeen* seen = nullptr);

// Outcome of one datagram for the network transport.
enum class TDatagramVerdict { Accepted, Refused, Skipped };

// Network transport: one datagram of `length` bytes (`length` < 0: none arrived in time).
// Check bytes are not tested; a datagram not starting 03 FE, shorter than its header plus
// its data, or with more data than `capacity`, is refused; one that `match` does not
// accept is skipped. `result` is N when accepted, else -1. `seen`, when given, receives
// the accepted header, or has the skipped one added.
TDatagramVerdict AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                                     TTraceLog& trace, const TReplyMatch& match, int& result,
                                     TReplySeen* seen = nullptr);

// The receive line and the dump of what one wait took in.
void TraceReceived(TTraceLog& trace, const uint8_t* taken, int count, int start);

// "Skip: reply cmd=0x002E arg=0x00000100 belongs to another request" and the like.
void TraceSkippedReply(TTraceLog& trace, uint16_t command, uint32_t argument);

}  // namespace printset
