#include "link/TransportFactory.h"

#include "link/NetworkPort.h"
#include "link/SerialTransport.h"
#include "link/UdpTransport.h"

namespace printset {

std::unique_ptr<TTransport> MakeTransport(const std::string& portName, int32_t rate, const TPortMap& portMap,
                                          const TUdpAddress& configured) {
  const TNetworkPort network = ParseNetworkPortName(portName);
  if (!network.IsNetwork) return std::make_unique<TSerialTransport>(portName, rate, portMap);
  if (!network.Valid) return TUdpTransport::Refusing(network.Error);
  // An address in the name is used as it stands.
  if (network.Host.empty()) return std::make_unique<TUdpTransport>(configured);
  return std::make_unique<TUdpTransport>(
      TUdpAddress{network.Host, network.Port != 0 ? network.Port : kDefaultPrinterUdpPort});
}

}  // namespace printset
