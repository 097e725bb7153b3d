// The rack case: one command programs 1, 4, 16 and 32 paced simulated printers at once.
#pragma once

#include <string>

namespace printset {

// Prints the rack figures; `folder` is a scratch folder for the trace files.
void RunRackBench(const std::string& printerSim, const std::string& folder);

}  // namespace printset
