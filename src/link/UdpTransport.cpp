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

TUdpTransport::TUdpTransport(const std::string& host, uint16_t port)
    : Owned(std::make_unique<TUdpEndpoint>()), Endpoint(Owned.get()) {
  Owned->Host = host;
  Owned->Port = port;
}

std::unique_ptr<TUdpTransport> TUdpTransport::Refusing(std::string openError) {
  auto transport = std::make_unique<TUdpTransport>(std::string(), uint16_t{0});
  transport->OpenError = std::move(openError);
  return transport;
}

bool TUdpTransport::Open(TTraceLog& trace, std::string& error) {
  if (!OpenError.empty()) error = OpenError;
  else if (Endpoint->Host.empty()) error = kNoPrinterAddress;
  else return true;
  trace.TraceLine(std::string(kNetworkPortName) + ": " + error + TraceTimestampNow());
  return false;
}

bool TUdpTransport::Send(const uint8_t* bytes, int length, std::string& error) {
  return Endpoint->Send(bytes, static_cast<size_t>(length), error);
}

int TUdpTransport::Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
                           TReplySeen* seen) {
  const TDeadline deadline(ms);
  uint8_t datagram[kReceiveBufferSize];
  for (;;) {
    const int length = Endpoint->Receive(datagram, sizeof datagram, deadline.MillisLeft());
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
