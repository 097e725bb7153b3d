// The serial devices plugged in now, as the system enumerates them behind a small
// interface (Qt Serial Port on Linux: PortListerQt.cpp), each with its stable
// /dev/serial/by-id name where there is one.
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

// What a platform's port enumeration does: the serial devices plugged in now, in any
// order, with their device name, description, serial number and USB ids where known
// (ById left empty). Never throws: a system that cannot say gives an empty list.
class TPortLister {
 public:
  virtual ~TPortLister() = default;
  virtual std::vector<TPortInfo> PortsPluggedIn() const = 0;
};

// This platform's enumeration (Qt Serial Port on Linux). Defined by the platform's lister
// file: only a program that links one may call it. Never fails.
const TPortLister& SystemPortLister();

// Every serial device `lister` finds, sorted by Device, each with the by-id name of
// `byIdFolder` that resolves to it. Never fails.
std::vector<TPortInfo> ListSerialPorts(const TPortLister& lister, const std::string& byIdFolder = kSerialByIdFolder);

// The links of a by-id folder, keyed by the device each resolves to; where several name
// one device, the first in name order. A missing folder gives an empty map.
std::map<std::string, std::string> ByIdLinks(const std::string& folder = kSerialByIdFolder);

}  // namespace printset
