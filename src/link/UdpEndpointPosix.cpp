#include "link/UdpEndpoint.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/Deadline.h"

namespace printset {

namespace {

// Errors a connected datagram socket reports for an earlier send (ICMP), which say
// nothing about the datagram now waited for.
bool IsDeferredSendError(int error) { return error == ECONNREFUSED || error == EHOSTUNREACH || error == ENETUNREACH; }

}  // namespace

TUdpEndpoint::~TUdpEndpoint() { Deactivate(); }

void TUdpEndpoint::Fail(const char* what) { Failure = std::string(what) + ": " + std::strerror(errno); }

bool TUdpEndpoint::Activate(std::string& error) {
  if (Socket >= 0) return true;
  Failure.clear();
  if (Address.Host.empty()) {
    error = "no printer host configured for TCP/IP";
    return false;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(Address.Port);
  const int rc = ::getaddrinfo(Address.Host.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) {
    error = "cannot resolve " + Address.Host + ": " + ::gai_strerror(rc);
    return false;
  }
  const int s = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
  // Connected: the kernel then delivers only the printer's own datagrams.
  if (s < 0 || ::connect(s, found->ai_addr, found->ai_addrlen) != 0) {
    error = std::string(s < 0 ? "socket" : "connect") + ": " + std::strerror(errno);
    if (s >= 0) ::close(s);
    ::freeaddrinfo(found);
    return false;
  }
  ::freeaddrinfo(found);
  Socket = s;
  return true;
}

bool TUdpEndpoint::Send(const uint8_t* bytes, size_t count, std::string& error) {
  if (!Activate(error)) return false;
  for (int tries = 0; tries < kUdpSendTries; ++tries) {
    if (::send(Socket, bytes, count, 0) >= 0) return true;
    error = std::strerror(errno);
    // A refusal left over from an earlier datagram is reported here once; send again.
    if (errno != EINTR && !IsDeferredSendError(errno)) break;
  }
  return false;
}

int TUdpEndpoint::Receive(uint8_t* buffer, size_t capacity, uint32_t ms) {
  Failure.clear();
  if (!Activate(Failure)) return -1;
  const TDeadline deadline(ms);
  for (;;) {
    const uint32_t left = deadline.MillisLeft();
    if (left == 0) return -1;
    pollfd p{Socket, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) {
      Fail("poll");
      return -1;
    }
    if (ready == 0) return -1;
    const ssize_t n = ::recv(Socket, buffer, capacity, MSG_TRUNC | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || IsDeferredSendError(errno))) continue;
    if (n < 0) {
      Fail("recv");
      return -1;
    }
    return static_cast<int>(n);
  }
}

int TUdpEndpoint::DiscardInput() {
  Failure.clear();
  if (!Activate(Failure)) return 0;
  int discarded = 0;
  uint8_t scratch[16];
  while (discarded < kDiscardLimitBytes) {
    const ssize_t n = ::recv(Socket, scratch, sizeof scratch, MSG_TRUNC | MSG_DONTWAIT);
    if (n >= 0) {
      discarded += static_cast<int>(n);
      continue;
    }
    if (errno == EINTR || IsDeferredSendError(errno)) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) Fail("recv");
    return discarded;
  }
  return discarded;
}

void TUdpEndpoint::Deactivate() {
  if (Socket >= 0) ::close(Socket);
  Socket = -1;
}

}  // namespace printset
