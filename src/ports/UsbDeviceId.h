// What a Windows device id tells of a USB serial adapter: its vendor and product id, and
// the serial number it reports. Plain text functions, so they are tested on every system.
#pragma once

#include <cstdint>
#include <string>

namespace printset {

// The USB ids in a hardware or instance id, e.g. "USB\VID_0403&PID_6001&REV_0600" or
// "FTDIBUS\VID_0403+PID_6001+A10K1234A\0000": "VID_" and "PID_" (any case) each followed
// by four hex digits. False, with `vendor` and `product` untouched, when either is missing
// or not four hex digits.
bool ParseUsbIds(const std::string& deviceId, uint16_t& vendor, uint16_t& product);

// The serial number in a USB device's instance id, "USB\VID_0403&PID_6001\A10K1234": its
// last part, where the enumerator is USB. Empty when the device reports none (the system
// then makes up a last part with '&' in it) or the id is no USB device's.
std::string UsbSerialNumber(const std::string& instanceId);

}  // namespace printset
