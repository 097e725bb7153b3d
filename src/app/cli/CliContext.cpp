#include "CliContext.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>

#include "engine/Convert.h"
#include "engine/NetworkPort.h"
#include "settings/BaudRates.h"

namespace printset {

namespace {

constexpr const char* kDefaultPort = "COM1";
constexpr char kPortFileComment = '#';

// The port names of a --ports file: a name a line, blanks around it dropped, blank lines
// and comments skipped.
std::vector<std::string> ReadPortFile(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": " + std::strerror(errno));
  std::vector<std::string> ports;
  std::string line;
  while (std::getline(in, line)) {
    const std::string name = Trim(line);
    if (!name.empty() && name[0] != kPortFileComment) ports.push_back(name);
  }
  if (in.bad()) throw std::runtime_error(path + ": " + std::strerror(errno));
  if (ports.empty()) throw TUsageError("--ports " + path + " names no port");
  return ports;
}

}  // namespace

void LoadSettings(TCliContext& context) {
  try {
    context.Paths = ResolveAppPaths(ExecutableFolder(), context.Options.Folder.value_or(""));
  } catch (const std::runtime_error& error) {
    throw TFolderError(error.what());
  }
  context.Profile = std::make_unique<TProfileFile>(context.Paths.ConfigFile());
  context.Link = ReadLinkSettings(*context.Profile);
}

void ResolvePorts(TCliContext& context) {
  std::vector<std::string> names;
  for (const std::string& port : context.Options.Ports) names.push_back(Trim(port));
  for (const std::string& file : context.Options.PortFiles)
    for (const std::string& port : ReadPortFile(file)) names.push_back(port);
  if (names.empty()) names.push_back(kDefaultPort);
  std::set<std::string> seen;
  for (const std::string& name : names) {
    if (name.empty()) throw TUsageError("--port needs a port name, not \"\"");
    if (!seen.insert(name).second) throw TUsageError("the port " + name + " is given twice");
    const TNetworkPort network = ParseNetworkPortName(name);
    if (!network.Valid) throw TUsageError(network.Error);
  }
  context.Ports = names;
  context.Baud = context.Options.Baud ? StrToInt(Trim(*context.Options.Baud)) : kDefaultBaudRate;
}

}  // namespace printset
