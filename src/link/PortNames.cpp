#include "link/PortNames.h"

#include <cctype>

namespace printset {

std::string ResolvePortName(const std::string& name, const TPortMap& overrides) {
  if (!name.empty() && name[0] == '/') return name;
  std::string upper;
  for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const auto& [key, device] : overrides) {
    std::string keyUpper;
    for (char c : key) keyUpper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (keyUpper == upper) return device;
  }
  if (upper.size() == 4 && upper.compare(0, 3, "COM") == 0 && upper[3] >= '1' && upper[3] <= '9')
    return "/dev/ttyS" + std::string(1, static_cast<char>(upper[3] - 1));
  return name;
}

}  // namespace printset
