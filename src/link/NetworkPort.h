// Port names that choose the network transport: "TCP/IP" (the configured printer address)
// or "TCP/IP:HOST[:PORT]" (the address itself, "[v6 address]:PORT" for IPv6).
#pragma once

#include <cstdint>
#include <string>

namespace printset {

constexpr const char* kNetworkPortName = "TCP/IP";

struct TNetworkPort {
  bool IsNetwork = false;  // the name chooses UDP
  bool Valid = true;       // false: `Error` says what is wrong with the address part
  std::string Host;        // empty: the configured address
  uint16_t Port = 0;       // 0: the configured (or default) port
  std::string Error;
};

// Splits a port name; never fails for a serial port name (IsNetwork false). A network name
// is invalid (Valid false, `Error` naming it with its control bytes escaped) without a
// host, with a port outside 1..65535, or with a blank or control character in its host.
TNetworkPort ParseNetworkPortName(const std::string& name);

}  // namespace printset
