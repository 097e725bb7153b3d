// Windows names no groups for a port, and has no ModemManager.
#include "report/OpenFailureHint.h"

namespace printset {

std::string OpenFailureHint(const std::string&, const std::string&) { return {}; }

}  // namespace printset
