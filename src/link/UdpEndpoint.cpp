#include "link/UdpEndpoint.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace printset {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

TUdpEndpoint::~TUdpEndpoint() { Deactivate(); }

void TUdpEndpoint::Activate() {
  const std::string key = Host + ":" + std::to_string(Port);
  if (Socket >= 0 && key == ResolvedFor) return;
  Deactivate();
  if (Host.empty()) throw std::runtime_error("no printer host configured for TCP/IP");
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(Port);
  const int rc = ::getaddrinfo(Host.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) throw std::runtime_error("cannot resolve " + Host + ": " + ::gai_strerror(rc));
  const int s = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
  if (s < 0) {
    ::freeaddrinfo(found);
    ThrowErrno("socket");
  }
  std::memcpy(Address, found->ai_addr, found->ai_addrlen);
  AddressLength = found->ai_addrlen;
  ::freeaddrinfo(found);
  Socket = s;
  ResolvedFor = key;
}

void TUdpEndpoint::Send(const uint8_t* bytes, size_t count) {
  Activate();
  const ssize_t sent = ::sendto(Socket, bytes, count, 0, reinterpret_cast<const sockaddr*>(Address),
                                AddressLength);
  if (sent < 0) ThrowErrno("sendto");
}

int TUdpEndpoint::Receive(uint8_t* buffer, size_t capacity, uint32_t ms) {
  Activate();
  using TClock = std::chrono::steady_clock;
  const auto deadline = TClock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) return -1;
    pollfd p{Socket, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) ThrowErrno("poll");
    if (ready == 0) return -1;
    const ssize_t n = ::recv(Socket, buffer, capacity, MSG_TRUNC);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0) ThrowErrno("recv");
    return static_cast<int>(n);
  }
}

void TUdpEndpoint::Deactivate() {
  if (Socket >= 0) ::close(Socket);
  Socket = -1;
  ResolvedFor.clear();
}

}  // namespace printset
