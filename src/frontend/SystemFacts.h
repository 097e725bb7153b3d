// What the station record asks of the system: the machine's name and the time in UTC.
#pragma once

#include <ctime>
#include <string>

namespace printset {

// The machine's host name; empty when the system does not give one.
std::string HostName();
// `seconds` as UTC calendar time; false when the system cannot convert it.
bool ToUtc(std::time_t seconds, std::tm& utc);

}  // namespace printset
