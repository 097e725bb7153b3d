// Small checks shared by the tests that read traces and file descriptors.
#pragma once

#include <string>

namespace printset {

// True when `line` is `head` followed directly by a trace timestamp " yy-mm-dd hh:nn:ss zzz ".
bool IsStampedLine(const std::string& line, const std::string& head);
// Descriptors open in this process, to catch a leak across a call.
int OpenDescriptorCount();

}  // namespace printset
