// The printer's commands and the arguments of its mode command, as the engine sends them.
// Timeouts and attempts stay beside the code that sends each request. (The simulated
// printer keeps its own copies on purpose: a test peer sharing these could not notice
// one of them changed.)
#pragma once

#include <cstdint>

namespace printset {

constexpr uint16_t kCommandIdentify = 0x20;
constexpr uint16_t kCommandSwitchBaud = 0x2B;
constexpr uint16_t kCommandFirmwareBlock = 0x2E;
constexpr uint16_t kCommandMode = 0x2F;
constexpr uint16_t kCommandSetParameters = 0x60;

// Arguments of kCommandMode.
constexpr uint32_t kModeProgramming = 0;
constexpr uint32_t kModeDownload = 1;
constexpr uint32_t kEndOfProgramming = 0xFFFFFFFFu;

}  // namespace printset
