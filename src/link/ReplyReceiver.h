// Taking one reply packet in, on either transport, and tracing what was taken in.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/ByteSource.h"
#include "link/TraceLog.h"

namespace printset {

enum class TReceiverState { Hunting, StartSeen, ReadingHeader, ReadingData, SkippingData };

// What a wait knows of the reply it waits for. A field the printer has shown it echoes
// must carry the request's value; a packet equal to Copy (another request's reply that
// carries data of its own) is that reply again. Any other valid packet is the reply, so
// the default takes any valid reply.
struct TReplyMatch {
  uint16_t Command = 0;
  uint32_t Argument = 0;
  bool CommandEchoed = false;
  bool ArgumentEchoed = false;
  const std::vector<uint8_t>* Copy = nullptr;  // header and data; must outlive the wait

  // Whether a packet with this header can be the request's reply.
  bool HeaderFits(uint16_t command, uint32_t argument) const {
    return (!CommandEchoed || command == Command) && (!ArgumentEchoed || argument == Argument);
  }
  // Whether the whole packet (`length` bytes, header and data) is another request's
  // reply come again.
  bool IsCopy(const uint8_t* packet, size_t length) const {
    return Copy != nullptr && Copy->size() == length && std::equal(Copy->begin(), Copy->end(), packet);
  }
};

// One packet a wait took or skipped: its header and the bytes read of it.
struct TSeenPacket {
  uint16_t Command = 0;
  uint32_t Argument = 0;
  std::vector<uint8_t> Bytes;
};

// What one wait saw: the packet it took as the reply, and those it skipped as other
// requests' replies, in the order they came.
struct TReplySeen {
  TSeenPacket Accepted;
  std::vector<TSeenPacket> Skipped;
};

// Serial transport: hunts for 03 FE, checks the header and the data, within `ms` of a
// steady clock. A failed check is final for the wait. A packet that `match` does not take
// is skipped (traced) and the hunt goes on within the same deadline. A reply whose data
// would not fit the receive buffer or `capacity` is refused as a failed wait, and its
// announced data are read off the line (within the deadline) so that the next wait does
// not hunt inside them. Returns the reply's data length, copied to `data` (never more
// than `capacity` bytes written), or -1; `seen`, when given, receives the packets the
// wait took and skipped.
int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                       const TReplyMatch& match = {}, TReplySeen* seen = nullptr);

// Outcome of one datagram for the network transport.
enum class TDatagramVerdict { Accepted, Refused, Skipped };

// Network transport: one datagram of `length` bytes (`length` < 0: none arrived in time).
// Check bytes are not tested; a datagram not starting 03 FE, shorter than its header plus
// its data, or with more data than `capacity`, is refused; one that `match` does not
// take (its header, or a copy) is skipped. `result` is N when accepted, else -1. `seen`,
// when given, receives the accepted packet, or has the skipped one added.
TDatagramVerdict AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                                     TTraceLog& trace, const TReplyMatch& match, int& result,
                                     TReplySeen* seen = nullptr);

// The receive line and the dump of what one wait took in.
void TraceReceived(TTraceLog& trace, const uint8_t* taken, int count, int start);

// "Skip: reply cmd=0x002E arg=0x00000100 belongs to another request", or for a copy
// "Skip: reply cmd=0x0020 arg=0x00000000 repeats another request's reply".
void TraceSkippedReply(TTraceLog& trace, const TSeenPacket& packet, bool copy);

}  // namespace printset
