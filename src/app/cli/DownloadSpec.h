// One argument of "download": FILE[:COMMAND[:BASE]].
#pragma once

#include <cstdint>
#include <string>

#include "frontend/TransferRequests.h"

namespace printset {

// "FILE[:COMMAND[:BASE]]", numbers decimal or 0x hex, taken from the right so a path may hold colons.
// False with `error` set when a number is malformed or out of range (command above 0xFFFF, base above 0xFFFFFFFF).
//
// At most the last two colon-separated fields are numbers. A field that is empty or starts
// with a decimal digit is meant as one and must be one, so a typo such as "a.bin:4x5" or
// "a.bin:" is refused rather than taken as part of the path; a field that starts with
// anything else ends the numbers and belongs to the path. A path whose last colon is
// followed by a digit is named with both numbers ("log:1:45:0" is the file "log:1").
// An empty FILE is refused too. `spec` is changed only on success.
bool ParseDownloadSpec(const std::string& text, TDownloadSpec& spec, std::string& error);

}  // namespace printset
