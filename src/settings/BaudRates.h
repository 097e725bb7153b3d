// The baud rates a printer can be set to: the window's two rate boxes offer exactly
// these, and the front end's --new-baud takes nothing else.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

namespace printset {

inline constexpr std::array<int32_t, 6> kBaudRates = {4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int32_t kDefaultBaudRate = 9600;

// Whether `rate` is one of kBaudRates.
inline bool IsBaudRate(int64_t rate) { return std::find(kBaudRates.begin(), kBaudRates.end(), rate) != kBaudRates.end(); }

// "4800, 9600, 19200, 38400, 57600, 115200", for messages.
inline std::string BaudRateListText() {
  std::string list;
  for (const int32_t rate : kBaudRates) list += (list.empty() ? "" : ", ") + std::to_string(rate);
  return list;
}

}  // namespace printset
