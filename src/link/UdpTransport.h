// Packets over UDP: one packet per datagram, to and from the printer's address only.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "link/Transport.h"
#include "link/UdpEndpoint.h"

namespace printset {

class TUdpTransport : public TTransport {
 public:
  // To the printer at `address`.
  explicit TUdpTransport(TUdpAddress address) : Endpoint(std::move(address)) {}
  // A transport whose Open fails with `openError` (an address that cannot be used).
  static std::unique_ptr<TUdpTransport> Refusing(std::string openError);

  // Resolves the printer's address and connects to it; false when there is none, it does
  // not resolve or the system refuses a socket, traced as "TCP/IP: " and the reason.
  bool Open(TTraceLog& trace, std::string& error) override;
  bool Send(const uint8_t* bytes, int length, std::string& error) override;
  // A datagram that is another request's reply is skipped and the wait goes on within
  // the same deadline; a datagram that is no reply, or too long, fails the wait, and so
  // does a socket failure (traced as "TCP/IP: " and the reason).
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override;
  int DiscardInput() override { return Endpoint.DiscardInput(); }
  int32_t BaudRate() const override { return 0; }
  bool SetBaudRate(int32_t) override { return true; }
  // No trace line: a datagram endpoint has no line to close.
  void Close(TTraceLog&) override { Endpoint.Deactivate(); }

 private:
  TUdpEndpoint Endpoint;
  std::string OpenError;
};

}  // namespace printset
