#include <cstdlib>

#include "frontend/SystemFacts.h"

namespace printset {

std::string HostName() {
  const char* name = std::getenv("COMPUTERNAME");
  return name != nullptr ? name : "";
}

bool ToUtc(std::time_t seconds, std::tm& utc) { return gmtime_s(&utc, &seconds) == 0; }

}  // namespace printset
