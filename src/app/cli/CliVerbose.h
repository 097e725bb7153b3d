// -v: the trace of every printer on stderr as it is written.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace printset {

// A rack's trace observer writing each line of printer i to stderr as one write, behind
// "PORT: " when there are several ports, never mixed mid-line with another worker's.
// Never throws.
std::function<void(size_t i, const std::string& line)> StderrTraceObserver(const std::vector<std::string>& ports);

}  // namespace printset
