// Which printer a port name reaches: every spelling of one printer gives the same key, so
// that a printer named twice is found before anything is sent to it.
#pragma once

#include <cstdint>
#include <string>

#include "link/PortNames.h"

namespace printset {

// The serial device `name` opens (after ResolvePortName with `overrides`), as a key that
// every spelling of that device shares. POSIX: links, ".", ".." and doubled separators
// are resolved; an existing device is known by its device number (any other file by its
// file system and inode), so links and other nodes of one device agree; a path that
// does not exist gives its canonical form. Windows: the device name in upper case
// without the "\\.\" prefix. Never fails.
std::string SerialPortIdentity(const std::string& name, const TPortMap& overrides);

// The address datagrams to `host`:`port` go to, as the UDP endpoint connects (the first
// address the resolver gives; an IPv4 address mapped into IPv6 counts as the IPv4 one),
// as a key. Empty when `host` is empty or cannot be resolved. Never fails.
std::string UdpPortIdentity(const std::string& host, uint16_t port);

}  // namespace printset
