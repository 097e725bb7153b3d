#include "link/UdpTransport.h"

#include "base/Deadline.h"
#include "link/PacketCodec.h"

namespace printset {

bool TUdpTransport::Send(const uint8_t* bytes, int length, std::string& error) {
  return Endpoint.Send(bytes, static_cast<size_t>(length), error);
}

int TUdpTransport::Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
                           TReplySeen* seen) {
  const TDeadline deadline(ms);
  uint8_t datagram[kReceiveBufferSize];
  for (;;) {
    const int length = Endpoint.Receive(datagram, sizeof datagram, deadline.MillisLeft());
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
