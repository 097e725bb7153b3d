#include "link/UdpTransport.h"

#include <utility>

#include "base/Deadline.h"
#include "link/NetworkPort.h"
#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {

constexpr const char* kNoPrinterAddress = "no printer address configured (HOST in [NETWORK] of config.ini)";

}  // namespace

std::unique_ptr<TUdpTransport> TUdpTransport::Refusing(std::string openError) {
  auto transport = std::make_unique<TUdpTransport>(TUdpAddress{});
  transport->OpenError = std::move(openError);
  return transport;
}

bool TUdpTransport::Open(TTraceLog& trace, std::string& error) {
  if (!OpenError.empty()) error = OpenError;
  else if (Endpoint.Remote().Host.empty()) error = kNoPrinterAddress;
  else if (Endpoint.Activate(error)) return true;
  trace.TraceLine(std::string(kNetworkPortName) + ": " + error + TraceTimestampNow());
  return false;
}

bool TUdpTransport::Send(const uint8_t* bytes, int length, std::string& error) {
  return Endpoint.Send(bytes, static_cast<size_t>(length), error);
}

int TUdpTransport::Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
                           TReplySeen* seen) {
  const TDeadline deadline(ms);
  uint8_t datagram[kReceiveBufferSize];
  for (;;) {
    const int length = Endpoint.Receive(datagram, sizeof datagram, deadline.MillisLeft());
    if (length < 0 && !Endpoint.LastError().empty()) {
      trace.TraceLine(std::string(kNetworkPortName) + ": " + Endpoint.LastError() + TraceTimestampNow());
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
