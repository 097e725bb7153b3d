#include "ports/PortList.h"

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

std::vector<TPortInfo> ListSerialPorts(const TPortLister& lister, const std::string& byIdFolder) {
  const std::map<std::string, std::string> byId = ByIdLinks(byIdFolder);
  std::vector<TPortInfo> ports = lister.PortsPluggedIn();
  for (TPortInfo& port : ports) {
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(port.Device, error);
    if (const auto link = byId.find(error ? port.Device : device.string()); link != byId.end())
      port.ById = link->second;
  }
  std::sort(ports.begin(), ports.end(), [](const TPortInfo& a, const TPortInfo& b) { return a.Device < b.Device; });
  return ports;
}

}  // namespace printset
