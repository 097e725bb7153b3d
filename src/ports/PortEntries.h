// The items of the window's PORT box: the names an operator has always typed, then the
// devices plugged in now.
#pragma once

#include <string>
#include <vector>

#include "ports/PortList.h"

namespace printset {

// COM1 .. COM9, the names the box has always offered.
constexpr int kListedComPorts = 9;

struct TPortEntry {
  std::string Text;    // what the box shows and the link is given
  std::string Detail;  // the item's tooltip: device, description, ids, serial; empty for the fixed names
};

// COM1..COM9 and TCP/IP first, in that order; then each detected device once, by its by-id
// path where it has one, else its device path, in natural order (ttyUSB2 before ttyUSB10).
std::vector<TPortEntry> PortBoxEntries(const std::vector<TPortInfo>& detected);

}  // namespace printset
