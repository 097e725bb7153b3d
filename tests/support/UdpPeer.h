// A bare UDP socket on 127.0.0.1 for tests that must answer the host with datagrams
// the simulated printer would never send.
#pragma once

#include <cstdint>
#include <vector>

namespace printset {

class TUdpPeer {
 public:
  TUdpPeer();  // binds a free port; throws std::runtime_error on failure
  ~TUdpPeer();
  TUdpPeer(const TUdpPeer&) = delete;
  TUdpPeer& operator=(const TUdpPeer&) = delete;

  uint16_t Port() const { return BoundPort; }
  // One datagram, remembering its sender; empty when none comes within `ms`.
  std::vector<uint8_t> Receive(int ms);
  // To the sender of the last datagram received.
  void Reply(const std::vector<uint8_t>& datagram);

 private:
  int Socket = -1;
  uint16_t BoundPort = 0;
  unsigned char Sender[128] = {};
  unsigned SenderLength = 0;
};

}  // namespace printset
