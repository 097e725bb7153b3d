// "ports": the serial ports that exist on this machine, without a printer (the system's
// port lister: Qt Serial Port on Linux).
#include <algorithm>
#include <cstdio>

#include "CliContext.h"
#include "CliJson.h"
#include "ports/PortList.h"

namespace printset {

namespace {

std::string Hex4(uint16_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", value);
  return text;
}

}  // namespace

std::vector<std::string> ListedSerialPorts() {
  std::vector<std::string> devices;
  for (const TPortInfo& port : ListSerialPorts(SystemPortLister())) devices.push_back(port.Device);
  return devices;
}

int RunPortsVerb(TCliContext& context) {
  const std::vector<TPortInfo> ports = ListSerialPorts(SystemPortLister());
  if (ports.empty() && !context.Options.Json) std::fputs("printset-cli: no serial port found\n", stderr);
  size_t width = 0;
  for (const TPortInfo& port : ports) width = std::max(width, port.Device.size());
  for (const TPortInfo& port : ports) {
    if (context.Options.Json) {
      TJson object = JsonObject();
      object["device"] = port.Device;
      object["by_id"] = port.ById;
      object["description"] = port.Description;
      object["vendor_id"] = port.HasIds ? TJson(Hex4(port.Vendor)) : TJson(nullptr);
      object["product_id"] = port.HasIds ? TJson(Hex4(port.Product)) : TJson(nullptr);
      object["serial_number"] = port.Serial;
      std::printf("%s\n", JsonLine(object).c_str());
      continue;
    }
    // The device, then what is known of it; the by-id name, often long, on a line of its own.
    std::string line = port.Device + std::string(width - port.Device.size(), ' ');
    if (!port.Description.empty()) line += "  " + port.Description;
    if (port.HasIds) line += "  " + Hex4(port.Vendor) + ":" + Hex4(port.Product);
    if (!port.Serial.empty()) line += "  serial " + port.Serial;
    std::printf("%s\n", line.c_str());
    if (!port.ById.empty()) std::printf("  %s\n", port.ById.c_str());
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace printset
