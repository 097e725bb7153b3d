// A UDP client endpoint: one datagram out to a configured host and port, one datagram in
// within a time limit. The socket is connected to the printer's address, so datagrams
// from any other address or port never reach it. It opens on first use and closes on
// Deactivate; the endpoint stays usable afterwards. A send the system refuses is a
// failed send (false and a reason); other socket errors, and a host that cannot be
// resolved, are thrown as std::system_error or std::runtime_error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace printset {

constexpr uint16_t kDefaultPrinterUdpPort = 9100;
// How often one datagram is handed to the system before the send counts as failed.
constexpr int kUdpSendTries = 3;
// The most bytes one discard of waiting datagrams drops.
constexpr int kDiscardLimitBytes = 1 << 20;

class TUdpEndpoint {
 public:
  std::string Host;
  uint16_t Port = kDefaultPrinterUdpPort;

  TUdpEndpoint() = default;
  ~TUdpEndpoint();
  TUdpEndpoint(const TUdpEndpoint&) = delete;
  TUdpEndpoint& operator=(const TUdpEndpoint&) = delete;

  // Sends one datagram; false with `error` set (the system's words) when the system
  // refuses it, e.g. when there is no route to the printer. A refusal left over from an
  // earlier datagram is reported once by the next send, so a refused send is tried again,
  // a bounded number of times.
  bool Send(const uint8_t* bytes, size_t count, std::string& error);
  // Waits up to `ms` for one datagram. Returns its full length (which may exceed
  // `capacity`; only `capacity` bytes are stored), or -1 when none arrived in time.
  // An ICMP "port unreachable" from the printer's host does not end the wait: the
  // printer may not be listening yet, and to the caller that is a missing reply.
  int Receive(uint8_t* buffer, size_t capacity, uint32_t ms);
  // Drops the datagrams already waiting (at most kDiscardLimitBytes, so that a flood
  // cannot hold the job); returns how many bytes they held.
  int DiscardInput();
  void Deactivate();
  bool Active() const { return Socket >= 0; }

 private:
  void Activate();
  int Socket = -1;
  std::string ResolvedFor;  // "host:port" the cached address belongs to
};

}  // namespace printset
