// The link's part of "config.ini": port name overrides and the printer's network address.
//   [PORTS]   COM1=/dev/ttyUSB0        (COM1..COM9 otherwise mean /dev/ttyS0../dev/ttyS8)
//   [NETWORK] HOST=192.168.1.50  PORT=9100
#pragma once

#include <cstdint>
#include <string>

#include "link/PortNames.h"

namespace printset {

class TProfileFile;

struct TLinkSettings {
  TPortMap PortMap;
  std::string NetworkHost;  // empty: none configured
  uint16_t NetworkPort = 0;
};

// [PORTS] and [NETWORK] as `profile` holds them; absent keys give the defaults. Never fails.
TLinkSettings ReadLinkSettings(const TProfileFile& profile);

}  // namespace printset
