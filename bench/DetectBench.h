// Finding printers: how long detect takes for one printer at each rate, for a silent
// port, and for a rack of 16 ports of which 8 are silent.
#pragma once

#include <string>

namespace printset {

// Prints the detect figures; `folder` is a scratch folder for the trace files.
void RunDetectBench(const std::string& folder);

}  // namespace printset
