// The serial devices plugged in now, as the system enumerates them (Qt Serial Port on
// udev), each with its stable /dev/serial/by-id name where there is one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace printset {

constexpr const char* kSerialByIdFolder = "/dev/serial/by-id";

struct TPortInfo {
  std::string Device;       // e.g. /dev/ttyUSB0
  std::string ById;         // e.g. /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0; empty when none
  std::string Description;  // the product text the device reports, may be empty
  std::string Serial;       // its serial number, may be empty
  uint16_t Vendor = 0, Product = 0;
  bool HasIds = false;      // Vendor and Product are known (USB)
};

// Every serial device found now, sorted by Device; by-id from the /dev/serial/by-id symlinks.
// Never fails: a system that cannot say gives an empty list.
std::vector<TPortInfo> ListSerialPorts();

// The links of a by-id folder, keyed by the device each resolves to; where several name
// one device, the first in name order. A missing folder gives an empty map.
std::map<std::string, std::string> ByIdLinks(const std::string& folder = kSerialByIdFolder);

}  // namespace printset
