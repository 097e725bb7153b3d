#include "link/NetworkPort.h"

#include "base/Numbers.h"
#include "link/PortNames.h"

namespace printset {

namespace {

// A host name or address never holds a blank or a control character; one that does was
// mistyped (or pasted with a line end), and the resolver would only guess at it.
bool HasBlankOrControl(const std::string& host) {
  for (const char c : host)
    if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F') return true;
  return false;
}

}  // namespace

TNetworkPort ParseNetworkPortName(const std::string& name) {
  TNetworkPort result;
  const std::string prefix = std::string(kNetworkPortName) + ":";
  if (name == kNetworkPortName) {
    result.IsNetwork = true;
    return result;
  }
  if (name.compare(0, prefix.size(), prefix) != 0) return result;
  result.IsNetwork = true;
  std::string address = name.substr(prefix.size());
  std::string portText;
  if (!address.empty() && address[0] == '[') {
    const size_t close = address.find(']');
    if (close == std::string::npos || (close + 1 < address.size() && address[close + 1] != ':')) {
      result.Valid = false;
      result.Error = "'" + PrintablePortName(address) + "' is not HOST, HOST:PORT or [IPv6]:PORT";
      return result;
    }
    if (close + 1 < address.size()) portText = address.substr(close + 2);
    address = address.substr(1, close - 1);
  } else if (const size_t colon = address.find(':'); colon != std::string::npos) {
    if (address.find(':', colon + 1) != std::string::npos) {
      result.Valid = false;
      result.Error = "an IPv6 address is written in brackets: TCP/IP:[" + PrintablePortName(address) + "]:PORT";
      return result;
    }
    portText = address.substr(colon + 1);
    address.erase(colon);
  }
  uint64_t port = 0;
  if (address.empty() || (!portText.empty() && (!ParseNumber(portText, 0xFFFF, port) || port == 0)) ||
      (portText.empty() && name.back() == ':')) {
    result.Valid = false;
    result.Error = "'" + PrintablePortName(name) + "' needs a host and, if any, a port from 1 to 65535";
    return result;
  }
  if (HasBlankOrControl(address)) {
    result.Valid = false;
    result.Error = "'" + PrintablePortName(name) + "' has a blank or a control character in its host";
    return result;
  }
  result.Host = address;
  result.Port = static_cast<uint16_t>(port);
  return result;
}

}  // namespace printset
