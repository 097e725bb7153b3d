// Windows implementation over Winsock. The socket is connected to the printer's address
// as on POSIX; Winsock reports a datagram larger than the buffer as WSAEMSGSIZE instead
// of giving its length, so the length is asked for first (FIONREAD: the size of the
// first datagram waiting).
#include "link/UdpEndpoint.h"

#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "base/Deadline.h"
#include "link/Win32Error.h"

namespace printset {

namespace {

// Errors a connected datagram socket reports for an earlier send (ICMP), which say
// nothing about the datagram now waited for. Windows says "connection reset" for a
// port nobody listens on.
bool IsDeferredSendError(int error) {
  return error == WSAECONNRESET || error == WSAECONNREFUSED || error == WSAEHOSTUNREACH ||
         error == WSAENETUNREACH || error == WSAENETRESET;
}

// Winsock must be started once per process before the first socket; it stays up until
// the process ends. Its result, 0 when started.
int StartWinsock() {
  static const int started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  return started;
}

std::string SocketErrorText(const char* what, int error) {
  return std::string(what) + ": " + Win32ErrorText(static_cast<unsigned long>(error));
}

// Socket handles are small kernel handles; the header keeps them in an int as on POSIX.
SOCKET AsSocket(int socket) { return static_cast<SOCKET>(socket); }

}  // namespace

TUdpEndpoint::~TUdpEndpoint() { Deactivate(); }

void TUdpEndpoint::Fail(const char* what) { Failure = SocketErrorText(what, WSAGetLastError()); }

bool TUdpEndpoint::Activate(std::string& error) {
  if (Socket >= 0) return true;
  Failure.clear();
  if (Address.Host.empty()) {
    error = "no printer host configured for TCP/IP";
    return false;
  }
  if (const int started = StartWinsock(); started != 0) {
    error = SocketErrorText("WSAStartup", started);
    return false;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(Address.Port);
  const int rc = ::getaddrinfo(Address.Host.c_str(), service.c_str(), &hints, &found);
  if (rc != 0) {
    error = "cannot resolve " + Address.Host + ": " + Win32ErrorText(static_cast<unsigned long>(rc));
    return false;
  }
  const SOCKET s = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
  // Connected: only the printer's own datagrams are delivered.
  if (s == INVALID_SOCKET || ::connect(s, found->ai_addr, static_cast<int>(found->ai_addrlen)) != 0) {
    error = SocketErrorText(s == INVALID_SOCKET ? "socket" : "connect", WSAGetLastError());
    if (s != INVALID_SOCKET) ::closesocket(s);
    ::freeaddrinfo(found);
    return false;
  }
  ::freeaddrinfo(found);
  Socket = static_cast<int>(s);
  return true;
}

bool TUdpEndpoint::Send(const uint8_t* bytes, size_t count, std::string& error) {
  if (!Activate(error)) return false;
  for (int tries = 0; tries < kUdpSendTries; ++tries) {
    if (::send(AsSocket(Socket), reinterpret_cast<const char*>(bytes), static_cast<int>(count), 0) != SOCKET_ERROR)
      return true;
    const int code = WSAGetLastError();
    error = Win32ErrorText(static_cast<unsigned long>(code));
    // A refusal left over from an earlier datagram is reported here once; send again.
    if (code != WSAEINTR && !IsDeferredSendError(code)) break;
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
    WSAPOLLFD p{AsSocket(Socket), POLLRDNORM, 0};
    const int ready = ::WSAPoll(&p, 1, static_cast<int>(left));
    if (ready == SOCKET_ERROR) {
      Fail("WSAPoll");
      return -1;
    }
    if (ready == 0) return -1;
    u_long waiting = 0;
    if (::ioctlsocket(AsSocket(Socket), FIONREAD, &waiting) != 0) {
      Fail("ioctlsocket");
      return -1;
    }
    const int n = ::recv(AsSocket(Socket), reinterpret_cast<char*>(buffer), static_cast<int>(capacity), 0);
    if (n != SOCKET_ERROR) return n;
    const int error = WSAGetLastError();
    if (error == WSAEMSGSIZE) return static_cast<int>(waiting > capacity ? waiting : capacity + 1);
    if (error == WSAEWOULDBLOCK || error == WSAEINTR || IsDeferredSendError(error)) continue;
    Failure = SocketErrorText("recv", error);
    return -1;
  }
}

int TUdpEndpoint::DiscardInput() {
  Failure.clear();
  if (!Activate(Failure)) return 0;
  int discarded = 0;
  while (discarded < kDiscardLimitBytes) {
    WSAPOLLFD p{AsSocket(Socket), POLLRDNORM, 0};
    const int ready = ::WSAPoll(&p, 1, 0);
    if (ready == SOCKET_ERROR) {
      Fail("WSAPoll");
      return discarded;
    }
    if (ready == 0) return discarded;
    u_long waiting = 0;
    if (::ioctlsocket(AsSocket(Socket), FIONREAD, &waiting) != 0) {
      Fail("ioctlsocket");
      return discarded;
    }
    char scratch[16];
    const int n = ::recv(AsSocket(Socket), scratch, sizeof scratch, 0);
    if (n != SOCKET_ERROR) {
      discarded += n;
      continue;
    }
    const int error = WSAGetLastError();
    if (error == WSAEMSGSIZE) {
      discarded += static_cast<int>(waiting);
      continue;
    }
    if (error == WSAEINTR || IsDeferredSendError(error)) continue;
    if (error != WSAEWOULDBLOCK) Failure = SocketErrorText("recv", error);
    return discarded;
  }
  return discarded;
}

void TUdpEndpoint::Deactivate() {
  if (Socket >= 0) ::closesocket(AsSocket(Socket));
  Socket = -1;
}

}  // namespace printset
