// What the simulated printer holds, written out as files for a person to inspect.
#pragma once

#include <string>

#include "sim/SimPrinter.h"

namespace printset {

// Writes into `folder` (which must exist): requests.log (one line per request),
// params.bin (the last parameter block), firmware.bin, and one
// download-<address as 8 hex digits>.bin per contiguous region of download memory.
// Files of an earlier dump are replaced. False with `error` set when a file cannot be written.
bool WriteSimDump(const TSimPrinter& printer, const std::string& folder, std::string* error = nullptr);

}  // namespace printset
