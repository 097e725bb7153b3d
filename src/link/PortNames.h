// Turning an operator's port name into a device path.
#pragma once

#include <map>
#include <string>

namespace printset {

// Overrides, keyed by port name in upper case (e.g. "COM1" -> "/dev/ttyUSB0").
using TPortMap = std::map<std::string, std::string>;

// "COM1".."COM9" become /dev/ttyS0../dev/ttyS8 unless `overrides` names them (matched
// regardless of case); a name beginning with "/" is a device path and stands as it is.
// Anything else is returned unchanged, so that opening it fails as the operator typed it.
std::string ResolvePortName(const std::string& name, const TPortMap& overrides = {});

}  // namespace printset
