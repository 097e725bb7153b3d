#include "UdpPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace printset {

TUdpPeer::TUdpPeer() {
  Socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (Socket < 0) throw std::runtime_error("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(Socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(Socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(Socket);
    throw std::runtime_error("bind 127.0.0.1");
  }
  BoundPort = ntohs(address.sin_port);
}

TUdpPeer::~TUdpPeer() { ::close(Socket); }

std::vector<uint8_t> TUdpPeer::Receive(int ms) {
  pollfd p{Socket, POLLIN, 0};
  if (::poll(&p, 1, ms) <= 0) return {};
  std::vector<uint8_t> datagram(65536);
  socklen_t length = sizeof Sender;
  const ssize_t n = ::recvfrom(Socket, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(Sender), &length);
  if (n < 0) return {};
  SenderLength = length;
  datagram.resize(static_cast<size_t>(n));
  return datagram;
}

void TUdpPeer::Reply(const std::vector<uint8_t>& datagram) {
  if (SenderLength == 0) throw std::logic_error("no datagram received to reply to");
  if (::sendto(Socket, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(Sender), SenderLength) < 0)
    throw std::runtime_error("sendto");
}

}  // namespace printset
