// Taking one reply packet in, on either transport, and tracing what was taken in.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/ByteSource.h"
#include "link/TraceLog.h"

namespace printset {

enum class TReceiverState { Hunting, StartSeen, ReadingHeader, ReadingData };

// Serial transport: hunts for 03 FE, checks the header and the data, within `ms` of a
// steady clock. A failed check is final for the wait. A reply whose data would not fit
// the receive buffer or `capacity` is refused as a failed wait. Returns the reply's data
// length, copied to `data`, or -1.
int ReceiveSerialReply(TByteSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace);

// Network transport: one datagram of `length` bytes (`length` < 0: none arrived in time).
// Check bytes are not tested; a datagram not starting 03 FE, shorter than its header plus
// its data, or with more data than `capacity`, is refused. Returns N or -1.
int AcceptReplyDatagram(const uint8_t* datagram, int length, uint8_t* data, int capacity,
                        TTraceLog& trace);

// The receive line and the dump of what one wait took in.
void TraceReceived(TTraceLog& trace, const uint8_t* taken, int count, int start);

}  // namespace printset
