// A UDP client endpoint: one datagram out to the printer's address, one datagram in
// within a time limit. The socket is connected to the printer's address, so datagrams
// from any other address or port never reach it. Failure convention: true or false, a
// count or -1, with the system's reason in `error` or LastError(); nothing is thrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "link/DatagramReceiver.h"

namespace printset {

constexpr uint16_t kDefaultPrinterUdpPort = 9100;
// How often one datagram is handed to the system before the send counts as failed.
constexpr int kUdpSendTries = 3;
// The most bytes one discard of waiting datagrams drops.
constexpr int kDiscardLimitBytes = 1 << 20;

// A printer's network address: a host name or address, and a UDP port.
struct TUdpAddress {
  std::string Host;
  uint16_t Port = kDefaultPrinterUdpPort;
};

class TUdpEndpoint : public TDatagramSource {
 public:
  explicit TUdpEndpoint(TUdpAddress address) : Address(std::move(address)) {}
  ~TUdpEndpoint() override;
  TUdpEndpoint(const TUdpEndpoint&) = delete;
  TUdpEndpoint& operator=(const TUdpEndpoint&) = delete;

  const TUdpAddress& Remote() const { return Address; }
  // Resolves the address and connects a socket to it (again after Deactivate); false
  // with `error` set when the host does not resolve or the system refuses a socket.
  bool Activate(std::string& error);
  // Sends one datagram; false with `error` set (the system's words) when the system
  // refuses it, e.g. when there is no route to the printer. A refusal left over from an
  // earlier datagram is reported once by the next send, so a refused send is tried again,
  // a bounded number of times.
  bool Send(const uint8_t* bytes, size_t count, std::string& error);
  // Waits up to `ms` for one datagram. Returns its full length (which may exceed
  // `capacity`; only `capacity` bytes are stored), or -1 when none arrived in time or
  // the socket failed (LastError() then says why).
  // An ICMP "port unreachable" from the printer's host does not end the wait: the
  // printer may not be listening yet, and to the caller that is a missing reply.
  int Receive(uint8_t* buffer, size_t capacity, uint32_t ms) override;
  // Drops the datagrams already waiting (at most kDiscardLimitBytes, so that a flood
  // cannot hold the job); returns how many bytes they held (what was dropped before a
  // socket failure, which LastError() then names).
  int DiscardInput();
  // Closes the socket; Activate opens a new one.
  void Deactivate();
  bool Active() const { return Socket >= 0; }
  // Why the last Receive or DiscardInput failed; empty when it did not.
  const std::string& LastError() const override { return Failure; }

 private:
  // Sets LastError() to `what` and the system's reason for the last socket call.
  void Fail(const char* what);

  TUdpAddress Address;
  int Socket = -1;
  std::string Failure;
};

}  // namespace printset
