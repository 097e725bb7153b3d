// The baud rates a printer can be set to: the window's two rate boxes offer exactly
// these, and the front end's --new-baud takes nothing else.
#pragma once

#include <array>
#include <cstdint>

namespace printset {

inline constexpr std::array<int32_t, 6> kBaudRates = {4800, 9600, 19200, 38400, 57600, 115200};
inline constexpr int32_t kDefaultBaudRate = 9600;

}  // namespace printset
