// The POSIX side of PortIdentity.h: device numbers and inodes, and the system's resolver.
#include "link/PortIdentity.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace printset {

namespace {

// An IPv6 address of the form ::ffff:a.b.c.d reaches the IPv4 host a.b.c.d.
void UnmapIpv4(sockaddr_storage& address) {
  if (address.ss_family != AF_INET6) return;
  const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
  if (!IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr)) return;
  sockaddr_in v4{};
  v4.sin_family = AF_INET;
  v4.sin_port = v6.sin6_port;
  std::memcpy(&v4.sin_addr, &v6.sin6_addr.s6_addr[12], sizeof v4.sin_addr);
  address = {};
  std::memcpy(&address, &v4, sizeof v4);
}

}  // namespace

std::string SerialPortIdentity(const std::string& name, const TPortMap& overrides) {
  const std::string device = ResolvePortName(name, overrides);
  // stat never opens the device, so looking cannot disturb a printer.
  struct stat info {};
  if (::stat(device.c_str(), &info) == 0) {
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
      return "device " + std::to_string(static_cast<uint64_t>(info.st_rdev));
    return "file " + std::to_string(static_cast<uint64_t>(info.st_dev)) + ":" +
           std::to_string(static_cast<uint64_t>(info.st_ino));
  }
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(device, error);
  return "path " + (error ? std::filesystem::path(device).lexically_normal() : canonical).string();
}

std::string UdpPortIdentity(const std::string& host, uint16_t port) {
  if (host.empty()) return {};
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || found == nullptr) return {};
  sockaddr_storage address{};
  std::memcpy(&address, found->ai_addr, std::min<size_t>(found->ai_addrlen, sizeof address));
  ::freeaddrinfo(found);
  UnmapIpv4(address);
  const socklen_t length = address.ss_family == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
  char text[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, text, sizeof text, service, sizeof service,
                    NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return {};
  return std::string("udp ") + text + " port " + service;
}

}  // namespace printset
