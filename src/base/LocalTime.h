// The local calendar time of a moment, the same way on every system.
#pragma once

#include <ctime>
#include <string>

namespace printset {

// Breaks `seconds` (since the epoch) down in the local time zone; false (and `local`
// untouched) when the system cannot.
bool ToLocalTime(std::time_t seconds, std::tm& local);
// How far local time is ahead of UTC at `seconds`, in seconds (negative west of
// Greenwich); 0 when it cannot be told.
long LocalUtcOffset(std::time_t seconds);
// Today's local date as "yymmdd" (the printer's string); all fields zero ("000100") when
// the system cannot tell it.
std::string TodayAsYymmdd();

}  // namespace printset
