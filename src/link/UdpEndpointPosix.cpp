#include "link/UdpEndpoint.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "base/Deadline.h"

namespace printset {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Errors a connected datagram socket reports for an earlier send (ICMP), which say
// nothing about the datagram now waited for.
bool IsDeferredSendError(int error) { return error == ECONNREFUSED || error == EHOSTUNREACH || error == ENETUNREACH; }

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
  // Connected: the kernel then delivers only the printer's own datagrams.
  if (::connect(s, found->ai_addr, found->ai_addrlen) != 0) {
    const int error = errno;
    ::freeaddrinfo(found);
    ::close(s);
    errno = error;
    ThrowErrno("connect");
  }
  ::freeaddrinfo(found);
  Socket = s;
  ResolvedFor = key;
}

bool TUdpEndpoint::Send(const uint8_t* bytes, size_t count, std::string& error) {
  Activate();
  for (int tries = 0; tries < kUdpSendTries; ++tries) {
    if (::send(Socket, bytes, count, 0) >= 0) return true;
    error = std::strerror(errno);
    // A refusal left over from an earlier datagram is reported here once; send again.
    if (errno != EINTR && !IsDeferredSendError(errno)) break;
  }
  return false;
}

int TUdpEndpoint::Receive(uint8_t* buffer, size_t capacity, uint32_t ms) {
  Activate();
  const TDeadline deadline(ms);
  for (;;) {
    const uint32_t left = deadline.MillisLeft();
    if (left == 0) return -1;
    pollfd p{Socket, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) ThrowErrno("poll");
    if (ready == 0) return -1;
    const ssize_t n = ::recv(Socket, buffer, capacity, MSG_TRUNC | MSG_DONTWAIT);
    if (n < 0 && (errno == EINTR || errno == EAGAIN || IsDeferredSendError(errno))) continue;
    if (n < 0) ThrowErrno("recv");
    return static_cast<int>(n);
  }
}

int TUdpEndpoint::DiscardInput() {
  Activate();
  int discarded = 0;
  uint8_t scratch[16];
  while (discarded < kDiscardLimitBytes) {
    const ssize_t n = ::recv(Socket, scratch, sizeof scratch, MSG_TRUNC | MSG_DONTWAIT);
    if (n >= 0) {
      discarded += static_cast<int>(n);
      continue;
    }
    if (errno == EINTR || IsDeferredSendError(errno)) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return discarded;
    ThrowErrno("recv");
  }
  return discarded;
}

void TUdpEndpoint::Deactivate() {
  if (Socket >= 0) ::close(Socket);
  Socket = -1;
  ResolvedFor.clear();
}

}  // namespace printset
