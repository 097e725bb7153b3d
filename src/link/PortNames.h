// Turning an operator's port name into a device path, and into text for a message.
#pragma once

#include <map>
#include <string>

namespace printset {

// Overrides, keyed by port name in upper case (e.g. "COM1" -> "/dev/ttyUSB0").
using TPortMap = std::map<std::string, std::string>;

// The highest COMn a Windows build accepts.
constexpr int kMaxWindowsComNumber = 255;

// A name that `overrides` holds (matched regardless of case) becomes its device. Else, on
// POSIX, "COM1".."COM9" become /dev/ttyS0../dev/ttyS8 and a name beginning with "/" is a
// device path that stands as it is; on Windows "COM1".."COM255" become "\\.\COMn", the
// only spelling that reaches ports above COM9. Anything else is returned unchanged, so
// that opening it fails as the operator typed it. Never fails.
std::string ResolvePortName(const std::string& name, const TPortMap& overrides = {});

// `name` (a port name, or other text an operator typed) as a message shows it: every byte
// outside printable ASCII written as \xNN (ESC as \x1B), so that a name can neither move
// the cursor nor start a line of its own. Backslashes stand, as Windows device names hold
// them. Never fails.
std::string PrintablePortName(const std::string& name);
// The same for any bytes shown to a person (an identity the printer sent); with
// `escapeBackslash`, a backslash is written as \x5C too, so that the text cannot be
// mistaken for an escape. Never fails.
std::string PrintableBytes(const std::string& bytes, bool escapeBackslash);

}  // namespace printset
