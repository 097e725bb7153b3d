#include "link/UdpTransport.h"

#include <utility>

#include "link/DatagramReceiver.h"
#include "link/NetworkPort.h"
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
  return ReceiveDatagramReply(Endpoint, data, capacity, ms, trace, match, seen);
}

}  // namespace printset
