#include "link/PortNames.h"

#include <cctype>
#include <cstdio>

namespace printset {

namespace {

std::string UpperCase(const std::string& text) {
  std::string upper;
  for (char c : text) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The n of "COMn" written without a leading zero, or 0 when `upper` is not such a name.
int ComNumber(const std::string& upper, int highest) {
  if (upper.size() < 4 || upper.compare(0, 3, "COM") != 0 || upper[3] == '0') return 0;
  int number = 0;
  for (size_t i = 3; i < upper.size(); ++i) {
    if (upper[i] < '0' || upper[i] > '9') return 0;
    number = number * 10 + (upper[i] - '0');
    if (number > highest) return 0;
  }
  return number;
}

}  // namespace

std::string ResolvePortName(const std::string& name, const TPortMap& overrides) {
#ifndef _WIN32
  if (!name.empty() && name[0] == '/') return name;
#endif
  const std::string upper = UpperCase(name);
  for (const auto& [key, device] : overrides)
    if (UpperCase(key) == upper) return device;
#ifdef _WIN32
  if (const int number = ComNumber(upper, kMaxWindowsComNumber)) return "\\\\.\\COM" + std::to_string(number);
#else
  if (const int number = ComNumber(upper, 9)) return "/dev/ttyS" + std::to_string(number - 1);
#endif
  return name;
}

std::string PrintablePortName(const std::string& name) { return PrintableBytes(name, false); }

std::string PrintableBytes(const std::string& bytes, bool escapeBackslash) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && !(escapeBackslash && byte == '\\')) {
      text += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    }
  }
  return text;
}

}  // namespace printset
