// The Windows side of PortIdentity.h: device names compared without regard to case, and
// the system's resolver (Winsock).
#include "link/PortIdentity.h"

#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace printset {

namespace {

constexpr const char* kDevicePrefix = "\\\\.\\";

// Winsock must be started once per process before the resolver is asked; it stays up
// until the process ends. False when it cannot be started.
bool WinsockStarted() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

// An IPv6 address of the form ::ffff:a.b.c.d reaches the IPv4 host a.b.c.d.
void UnmapIpv4(sockaddr_storage& address) {
  if (address.ss_family != AF_INET6) return;
  const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
  static const unsigned char kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
  if (std::memcmp(v6.sin6_addr.s6_addr, kMappedPrefix, sizeof kMappedPrefix) != 0) return;
  sockaddr_in v4{};
  v4.sin_family = AF_INET;
  v4.sin_port = v6.sin6_port;
  std::memcpy(&v4.sin_addr, &v6.sin6_addr.s6_addr[12], sizeof v4.sin_addr);
  address = {};
  std::memcpy(&address, &v4, sizeof v4);
}

}  // namespace

std::string SerialPortIdentity(const std::string& name, const TPortMap& overrides) {
  std::string device = ResolvePortName(name, overrides);
  // "\\.\COM3" and "COM3" open the same port, and the system ignores case in both.
  if (device.compare(0, std::strlen(kDevicePrefix), kDevicePrefix) == 0) device.erase(0, std::strlen(kDevicePrefix));
  for (char& c : device) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return "device " + device;
}

std::string UdpPortIdentity(const std::string& host, uint16_t port) {
  if (host.empty() || !WinsockStarted()) return {};
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || found == nullptr) return {};
  sockaddr_storage address{};
  std::memcpy(&address, found->ai_addr, std::min<size_t>(found->ai_addrlen, sizeof address));
  ::freeaddrinfo(found);
  UnmapIpv4(address);
  const int length = address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
  char text[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, text, sizeof text, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return {};
  return std::string("udp ") + text + " port " + service;
}

}  // namespace printset
