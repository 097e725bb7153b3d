// The one place that decides which line a port name means.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/Transport.h"
#include "link/UdpEndpoint.h"
#include "link/UniUart.h"

namespace printset {

// The transport for `portName`, not yet opened: UDP for the network names ("TCP/IP" goes
// to `configured`, "TCP/IP:HOST[:PORT]" to that address), else the serial port
// `serialPort` (its PortMap applied) at `rate`. A malformed network name gives a
// transport whose Open fails with the reason. `serialPort` must outlive the transport.
std::unique_ptr<TTransport> MakeTransport(const std::string& portName, int32_t rate, TMyUart& serialPort,
                                          const TUdpAddress& configured);

}  // namespace printset
