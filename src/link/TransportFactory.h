// The one place that decides which line a port name means.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/PortNames.h"
#include "link/Transport.h"
#include "link/UdpEndpoint.h"

namespace printset {

// The transport for `portName`, not yet opened: UDP for the network names ("TCP/IP" goes
// to `configured`, "TCP/IP:HOST[:PORT]" to that address), else the serial port
// port `portName` (after `portMap`) at `rate`, which the transport owns. A malformed
// network name gives a transport whose Open fails with the reason. Never fails.
std::unique_ptr<TTransport> MakeTransport(const std::string& portName, int32_t rate, const TPortMap& portMap,
                                          const TUdpAddress& configured);

}  // namespace printset
