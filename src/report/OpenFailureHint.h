// What an operator can do when the system refused to open a serial device.
#pragma once

#include <string>

namespace printset {

// Lines (each starting with a line break) to add beneath the system's reason `error` for
// `device`: for "Permission denied", the group that owns the device; where ModemManager is
// installed or running and the device was refused or busy, a word about it. Empty when
// there is nothing to add.
std::string OpenFailureHint(const std::string& device, const std::string& error);

}  // namespace printset
