#include "settings/LinkSettings.h"

#include "base/Text.h"
#include "link/UdpEndpoint.h"
#include "settings/ProfileFile.h"

namespace printset {

TLinkSettings ReadLinkSettings(const TProfileFile& profile) {
  TLinkSettings settings;
  for (const std::string& key : profile.ReadSectionKeys("PORTS")) {
    const auto device = profile.ReadString("PORTS", key);
    if (device && !Trim(*device).empty()) settings.PortMap[key] = Trim(*device);
  }
  settings.NetworkHost = Trim(profile.ReadString("NETWORK", "HOST").value_or(""));
  const int32_t port = profile.ReadInteger("NETWORK", "PORT", kDefaultPrinterUdpPort);
  settings.NetworkPort = (port > 0 && port <= 65535) ? static_cast<uint16_t>(port) : kDefaultPrinterUdpPort;
  return settings;
}

}  // namespace printset
