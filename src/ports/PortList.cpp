#include "ports/PortList.h"

#include <QSerialPortInfo>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace printset {

std::map<std::string, std::string> ByIdLinks(const std::string& folder) {
  std::map<std::string, std::string> links;
  std::error_code error;
  std::filesystem::directory_iterator entries(folder, error);
  if (error) return links;
  for (const std::filesystem::directory_entry& entry : entries) {
    const std::filesystem::path device = std::filesystem::canonical(entry.path(), error);
    if (error) continue;  // a dangling link: its device has just gone
    const std::string link = entry.path().string();
    auto [at, added] = links.emplace(device.string(), link);
    if (!added && link < at->second) at->second = link;
  }
  return links;
}

std::vector<TPortInfo> ListSerialPorts() {
  const std::map<std::string, std::string> byId = ByIdLinks();
  std::vector<TPortInfo> ports;
  for (const QSerialPortInfo& found : QSerialPortInfo::availablePorts()) {
    TPortInfo port;
    port.Device = found.systemLocation().toStdString();
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(port.Device, error);
    if (const auto link = byId.find(error ? port.Device : device.string()); link != byId.end())
      port.ById = link->second;
    port.Description = found.description().toStdString();
    port.Serial = found.serialNumber().toStdString();
    port.HasIds = found.hasVendorIdentifier() && found.hasProductIdentifier();
    if (port.HasIds) {
      port.Vendor = found.vendorIdentifier();
      port.Product = found.productIdentifier();
    }
    ports.push_back(std::move(port));
  }
  std::sort(ports.begin(), ports.end(), [](const TPortInfo& a, const TPortInfo& b) { return a.Device < b.Device; });
  return ports;
}

}  // namespace printset
