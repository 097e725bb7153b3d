#include "ports/UsbDeviceId.h"

#include <cctype>

namespace printset {

namespace {

constexpr int kIdDigits = 4;
constexpr const char* kUsbEnumerator = "USB\\";

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The four hex digits after `key` in `id` (upper case); false when there are none.
bool HexAfter(const std::string& id, const std::string& key, uint16_t& value) {
  const size_t at = id.find(key);
  if (at == std::string::npos || id.size() < at + key.size() + kIdDigits) return false;
  uint16_t parsed = 0;
  for (size_t i = at + key.size(); i < at + key.size() + kIdDigits; ++i) {
    const char c = id[i];
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    parsed = static_cast<uint16_t>(parsed * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : c - 'A' + 10));
  }
  value = parsed;
  return true;
}

}  // namespace

bool ParseUsbIds(const std::string& deviceId, uint16_t& vendor, uint16_t& product) {
  const std::string id = Upper(deviceId);
  uint16_t foundVendor = 0;
  uint16_t foundProduct = 0;
  if (!HexAfter(id, "VID_", foundVendor) || !HexAfter(id, "PID_", foundProduct)) return false;
  vendor = foundVendor;
  product = foundProduct;
  return true;
}

std::string UsbSerialNumber(const std::string& instanceId) {
  if (Upper(instanceId.substr(0, 4)) != kUsbEnumerator) return {};
  const size_t last = instanceId.rfind('\\');
  // Three parts: enumerator, ids, serial.
  if (last == std::string::npos || instanceId.find('\\') == last) return {};
  const std::string serial = instanceId.substr(last + 1);
  if (serial.find('&') != std::string::npos) return {};
  return serial;
}

}  // namespace printset
