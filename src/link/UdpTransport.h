// Packets over UDP: one packet per datagram, to and from the printer's address only.
#pragma once

#include "link/Transport.h"
#include "link/UdpEndpoint.h"

namespace printset {

class TUdpTransport : public TTransport {
 public:
  explicit TUdpTransport(TUdpEndpoint& endpoint) : Endpoint(endpoint) {}
  bool Send(const uint8_t* bytes, int length, std::string& error) override;
  // A datagram that is another request's reply is skipped and the wait goes on within
  // the same deadline; a datagram that is no reply, or too long, fails the wait.
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override;
  int DiscardInput() override { return Endpoint.DiscardInput(); }
  bool CarriesBaudRate() const override { return false; }
  // No trace line: a datagram endpoint has no line to close.
  void Close(TTraceLog&) override { Endpoint.Deactivate(); }

 private:
  TUdpEndpoint& Endpoint;
};

}  // namespace printset
