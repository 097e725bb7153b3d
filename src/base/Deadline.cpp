#include "base/Deadline.h"

namespace printset {

namespace {

thread_local const TPlayedClock* PlayedClock = nullptr;

}  // namespace

TDeadline::TClock::time_point TDeadline::Now() { return PlayedClock ? PlayedClock->Now() : TClock::now(); }

TPlayedClock::TPlayedClock() : Current(TDeadline::TClock::now()) { PlayedClock = this; }

TPlayedClock::~TPlayedClock() { PlayedClock = nullptr; }

}  // namespace printset
