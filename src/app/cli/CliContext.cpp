#include "CliContext.h"

#include <filesystem>
#include <map>
#include <set>

#include "base/FileIo.h"
#include "link/NetworkPort.h"
#include "link/PortIdentity.h"
#include "link/UdpEndpoint.h"

namespace printset {

namespace {

constexpr const char* kDefaultPort = "COM1";
constexpr char kPortFileComment = '#';
// Far more names than any rack has; a larger file is not a list of ports.
constexpr uint64_t kMaxPortFileSize = 1u << 20;

// The port names of a --ports file: a name a line, blanks around it dropped, blank lines
// and comments skipped.
std::vector<std::string> ReadPortFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadFileBounded(path, kMaxPortFileSize, bytes, reason))
    throw std::runtime_error("--ports " + PrintablePortName(path) + ": " + reason);
  std::vector<std::string> ports;
  const std::string text(bytes.begin(), bytes.end());
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string name = PortNameOf(text.substr(start, end - start));
    if (!name.empty() && name[0] != kPortFileComment) ports.push_back(name);
    start = end + 1;
  }
  if (ports.empty()) throw TUsageError("--ports " + PrintablePortName(path) + " names no port");
  return ports;
}

// Which printer `name` reaches: its UDP address or its serial device. Empty when that
// cannot be told (a host that does not resolve); opening it then fails on its own.
std::string PrinterIdentity(const std::string& name, const TLinkSettings& link) {
  const TNetworkPort network = ParseNetworkPortName(name);
  if (!network.IsNetwork) return SerialPortIdentity(name, link.PortMap);
  // As the worker connects: an address in the name, else [NETWORK] of config.ini.
  if (!network.Host.empty())
    return UdpPortIdentity(network.Host, network.Port != 0 ? network.Port : kDefaultPrinterUdpPort);
  return UdpPortIdentity(link.NetworkHost, link.NetworkPort);
}

}  // namespace

void LoadSettings(TCliContext& context) {
  if (context.Options.Folder) {
    // The folder is used as given, never made: a mistyped one must not pass unnoticed
    // until the trace cannot be saved.
    const std::string& folder = *context.Options.Folder;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    if (!std::filesystem::exists(status))
      throw TUsageError("--folder " + PrintablePortName(folder) + ": " +
                        (error ? error.message() : "No such file or directory"));
    if (!std::filesystem::is_directory(status))
      throw TUsageError("--folder " + PrintablePortName(folder) + ": not a folder");
  }
  std::string reason;
  if (!ResolveAppPaths(ExecutableFolder(), context.Options.Folder.value_or(""), context.Paths, reason))
    throw TFolderError(reason);
  context.Profile = std::make_unique<TProfileFile>(context.Paths.ConfigFile());
  context.Link = ReadLinkSettings(*context.Profile);
}

void ResolvePorts(TCliContext& context) {
  std::vector<std::string> names;
  for (const std::string& port : context.Options.Ports) names.push_back(PortNameOf(port));
  for (const std::string& file : context.Options.PortFiles)
    for (const std::string& port : ReadPortFile(file)) names.push_back(port);
  if (names.empty()) names.push_back(kDefaultPort);
  std::set<std::string> seen;
  for (const std::string& name : names) {
    if (name.empty()) throw TUsageError("--port needs a port name, not \"\"");
    if (!seen.insert(name).second) throw TUsageError("the port " + PrintablePortName(name) + " is given twice");
    const TNetworkPort network = ParseNetworkPortName(name);
    if (!network.Valid) throw TUsageError(network.Error);
  }
  // Two spellings of one printer would have two workers talk to it at once.
  if (names.size() > 1) {
    std::map<std::string, std::string> named;  // printer -> the first name given for it
    for (const std::string& name : names) {
      const std::string printer = PrinterIdentity(name, context.Link);
      if (printer.empty()) continue;
      const auto [first, added] = named.emplace(printer, name);
      if (!added)
        throw TUsageError("the ports " + PrintablePortName(first->second) + " and " + PrintablePortName(name) +
                          " name the same printer");
    }
  }
  context.Ports = names;
  TChecked<TLinkRate> rate = LinkRateFromText(context.Options.Baud);
  if (!rate) throw TUsageError(rate.Refusal().Text);
  context.Rate = std::move(rate.Value());
}

}  // namespace printset
