#include "base/LocalTime.h"

#include <cstdio>

namespace printset {

bool ToLocalTime(std::time_t seconds, std::tm& local) {
#ifdef _WIN32
  return localtime_s(&local, &seconds) == 0;
#else
  return localtime_r(&seconds, &local) != nullptr;
#endif
}

long LocalUtcOffset(std::time_t seconds) {
  std::tm local{};
  if (!ToLocalTime(seconds, local)) return 0;
#ifdef _WIN32
  // No tm_gmtoff here: read the local fields back as if they were UTC.
  const std::time_t asUtc = _mkgmtime(&local);
  return asUtc == static_cast<std::time_t>(-1) ? 0 : static_cast<long>(asUtc - seconds);
#else
  return local.tm_gmtoff;
#endif
}

std::string TodayAsYymmdd() {
  const time_t now = std::time(nullptr);
  std::tm local{};
  if (!ToLocalTime(now, local)) local = std::tm{};
  char text[48];
  std::snprintf(text, sizeof text, "%02d%02d%02d", local.tm_year % 100, local.tm_mon + 1, local.tm_mday);
  return text;
}

}  // namespace printset
