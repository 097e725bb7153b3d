// Local date-time values as days (with a fraction) since 1899-12-30, the form the
// progress throttle keeps.
#pragma once

#include <cstdint>

namespace printset {

using TDateTime = double;

// This instant in local time. Never fails.
TDateTime DateTimeNow();
// Whole milliseconds between two date-times: |a - b| * 86,400,000, fraction dropped.
int64_t MilliSecondsBetween(TDateTime a, TDateTime b);

}  // namespace printset
