// The port enumeration on Windows: the COM port devices SetupAPI knows (their friendly
// name, USB ids and serial number), then every port of the system's serial device map
// (HARDWARE\DEVICEMAP\SERIALCOMM) not among them, such as ports without a device entry.
#include <windows.h>

#include <setupapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ports/PortList.h"
#include "ports/UsbDeviceId.h"

namespace printset {

namespace {

// Bounds on what is enumerated, so that a broken driver cannot keep the loops going.
constexpr DWORD kMaxDevices = 1024;
constexpr DWORD kMaxMapEntries = 1024;
// The longest registry value name or text read (characters).
constexpr DWORD kMaxText = 512;
// The COM port device interface class and the Ports device class (the driver kit's
// GUID_DEVINTERFACE_COMPORT and GUID_DEVCLASS_PORTS, whose headers need the kit).
constexpr GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr const wchar_t* kSerialMapKey = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string converted(static_cast<size_t>(size), '\0');
  if (WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), converted.data(), size, nullptr,
                          nullptr) != size)
    return {};
  return converted;
}

// A wide text of at most kMaxText characters, cut at its first NUL (the first string of a
// multi-string).
std::wstring UpToNul(const wchar_t* text, size_t count) {
  const wchar_t* end = std::find(text, text + count, L'\0');
  return std::wstring(text, end);
}

// A text property of the device (friendly name, description, hardware ids); empty when none.
std::wstring DeviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
  wchar_t text[kMaxText] = {};
  DWORD type = 0;
  if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, &type, reinterpret_cast<BYTE*>(text),
                                         sizeof text - sizeof(wchar_t), nullptr))
    return {};
  if (type != REG_SZ && type != REG_MULTI_SZ) return {};
  return UpToNul(text, kMaxText);
}

// The COM port name the device's driver gave it ("PortName" of its device key); empty
// when it has none (a printer port of the Ports class).
std::wstring DevicePortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
  const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  wchar_t text[kMaxText] = {};
  DWORD type = 0;
  DWORD size = sizeof text - sizeof(wchar_t);
  const LONG read = RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  if (RegCloseKey(key) != ERROR_SUCCESS || read != ERROR_SUCCESS || type != REG_SZ) return {};
  return UpToNul(text, size / sizeof(wchar_t));
}

bool IsComName(const std::string& name) {
  return name.size() > 3 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "com") == 0);
}

bool Listed(const std::vector<TPortInfo>& ports, const std::string& device) {
  return std::any_of(ports.begin(), ports.end(), [&](const TPortInfo& port) { return port.Device == device; });
}

// The present devices of a device class or interface class, added to `ports` by port name.
void AddDevices(const GUID& guid, DWORD flags, std::vector<TPortInfo>& ports) {
  const HDEVINFO devices = SetupDiGetClassDevsW(&guid, nullptr, nullptr, DIGCF_PRESENT | flags);
  if (devices == INVALID_HANDLE_VALUE) return;
  for (DWORD index = 0; index < kMaxDevices; ++index) {
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiEnumDeviceInfo(devices, index, &device)) break;
    TPortInfo port;
    port.Device = Utf8(DevicePortName(devices, device));
    if (!IsComName(port.Device) || Listed(ports, port.Device)) continue;
    port.Description = Utf8(DeviceProperty(devices, device, SPDRP_FRIENDLYNAME));
    if (port.Description.empty()) port.Description = Utf8(DeviceProperty(devices, device, SPDRP_DEVICEDESC));
    port.HasIds = ParseUsbIds(Utf8(DeviceProperty(devices, device, SPDRP_HARDWAREID)), port.Vendor, port.Product);
    wchar_t instance[kMaxText] = {};
    if (SetupDiGetDeviceInstanceIdW(devices, &device, instance, kMaxText - 1, nullptr))
      port.Serial = UsbSerialNumber(Utf8(UpToNul(instance, kMaxText)));
    ports.push_back(std::move(port));
  }
  // Nothing to do when the list cannot be freed: the process keeps a little memory.
  if (!SetupDiDestroyDeviceInfoList(devices)) return;
}

// The serial device map: each value a device ("\Device\Serial0"), its data the port name.
void AddMappedPorts(std::vector<TPortInfo>& ports) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialMapKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  for (DWORD index = 0; index < kMaxMapEntries; ++index) {
    wchar_t name[kMaxText] = {};
    wchar_t data[kMaxText] = {};
    DWORD nameSize = kMaxText - 1;
    DWORD dataSize = sizeof data - sizeof(wchar_t);
    DWORD type = 0;
    const LONG read = RegEnumValueW(key, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize);
    if (read == ERROR_NO_MORE_ITEMS) break;
    if (read != ERROR_SUCCESS || type != REG_SZ) continue;
    TPortInfo port;
    port.Device = Utf8(UpToNul(data, dataSize / sizeof(wchar_t)));
    if (IsComName(port.Device) && !Listed(ports, port.Device)) ports.push_back(std::move(port));
  }
  if (RegCloseKey(key) != ERROR_SUCCESS) return;
}

class TWin32PortLister final : public TPortLister {
 public:
  std::vector<TPortInfo> PortsPluggedIn() const override {
    std::vector<TPortInfo> ports;
    AddDevices(kComPortInterface, DIGCF_DEVICEINTERFACE, ports);
    // Some USB adapters' drivers register in the Ports class only.
    AddDevices(kPortsClass, 0, ports);
    AddMappedPorts(ports);
    return ports;
  }
};

}  // namespace

const TPortLister& SystemPortLister() {
  static const TWin32PortLister lister;
  return lister;
}

}  // namespace printset
