#include "ports/PortEntries.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "link/NetworkPort.h"

namespace printset {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Runs of digits compare by their value, everything else byte by byte.
bool NaturalLess(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      size_t iEnd = i, jEnd = j;
      while (iEnd < a.size() && IsDigit(a[iEnd])) ++iEnd;
      while (jEnd < b.size() && IsDigit(b[jEnd])) ++jEnd;
      // Leading zeros aside, the longer run is the larger number.
      const size_t iStart = std::min(a.find_first_not_of('0', i), iEnd);
      const size_t jStart = std::min(b.find_first_not_of('0', j), jEnd);
      if (iEnd - iStart != jEnd - jStart) return iEnd - iStart < jEnd - jStart;
      if (const int order = a.compare(iStart, iEnd - iStart, b, jStart, jEnd - jStart); order != 0) return order < 0;
      i = iEnd;
      j = jEnd;
    } else {
      if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
      ++i;
      ++j;
    }
  }
  return a.size() - i < b.size() - j;
}

std::string DetailOf(const TPortInfo& port) {
  std::string detail = port.Device;
  if (!port.Description.empty()) detail += ", " + port.Description;
  if (port.HasIds) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", port.Vendor, port.Product);
    detail += std::string(", ") + ids;
  }
  if (!port.Serial.empty()) detail += ", serial " + port.Serial;
  return detail;
}

}  // namespace

std::vector<TPortEntry> PortBoxEntries(const std::vector<TPortInfo>& detected) {
  std::vector<TPortEntry> entries;
  for (int n = 1; n <= kListedComPorts; ++n) entries.push_back({"COM" + std::to_string(n), {}});
  entries.push_back({kNetworkPortName, {}});
  const size_t fixed = entries.size();
  for (const TPortInfo& port : detected) {
    const std::string text = port.ById.empty() ? port.Device : port.ById;
    const bool listed = std::any_of(entries.begin(), entries.end(), [&](const TPortEntry& e) { return e.Text == text; });
    if (!text.empty() && !listed) entries.push_back({text, DetailOf(port)});
  }
  std::sort(entries.begin() + static_cast<long>(fixed), entries.end(),
            [](const TPortEntry& a, const TPortEntry& b) { return NaturalLess(a.Text, b.Text); });
  return entries;
}

}  // namespace printset
