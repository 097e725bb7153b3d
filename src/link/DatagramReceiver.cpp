#include "link/DatagramReceiver.h"

#include "base/Deadline.h"
#include "link/NetworkPort.h"
#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

int ReceiveDatagramReply(TDatagramSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                         const TReplyMatch& match, TReplySeen* seen) {
  const TDeadline deadline(ms);
  uint8_t datagram[kReceiveBufferSize];
  for (;;) {
    const int length = source.Receive(datagram, sizeof datagram, deadline.MillisLeft());
    if (length < 0 && !source.LastError().empty()) {
      trace.TraceLine(std::string(kNetworkPortName) + ": " + source.LastError() + TraceTimestampNow());
      return -1;
    }
    if (length > kReceiveBufferSize) {
      // Longer than the receive buffer: trace what was kept and refuse it.
      TraceReceived(trace, datagram, kReceiveBufferSize, 0);
      return -1;
    }
    int result = -1;
    const TDatagramVerdict verdict = AcceptReplyDatagram(datagram, length, data, capacity, trace, match, result, seen);
    if (verdict == TDatagramVerdict::Skipped && !deadline.Expired()) continue;
    return result;
  }
}

}  // namespace printset
