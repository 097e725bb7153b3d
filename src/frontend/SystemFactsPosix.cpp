#include <unistd.h>

#include "frontend/SystemFacts.h"

namespace printset {

namespace {

constexpr size_t kHostNameMax = 256;

}  // namespace

std::string HostName() {
  char name[kHostNameMax + 1] = {};
  if (gethostname(name, kHostNameMax) != 0) return "";
  return name;
}

bool ToUtc(std::time_t seconds, std::tm& utc) { return gmtime_r(&seconds, &utc) != nullptr; }

}  // namespace printset
