#include "base/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "base/LocalTime.h"

namespace printset {

namespace {
constexpr double kUnixEpochAsDateTime = 25569.0;  // 1970-01-01 in days since 1899-12-30
constexpr double kMsPerDay = 86400000.0;
}  // namespace

TDateTime DateTimeNow() {
  const auto now = std::chrono::system_clock::now();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  const time_t seconds = static_cast<time_t>(ms / 1000);
  return kUnixEpochAsDateTime + (static_cast<double>(ms) + static_cast<double>(LocalUtcOffset(seconds)) * 1000.0) / kMsPerDay;
}

int64_t MilliSecondsBetween(TDateTime a, TDateTime b) {
  return static_cast<int64_t>(std::fabs(a - b) * kMsPerDay);
}

}  // namespace printset
