// A point on the steady clock that a wait must not pass; immune to wall-clock changes
// and to midnight.
#pragma once

#include <chrono>
#include <cstdint>

namespace printset {

class TDeadline {
 public:
  using TClock = std::chrono::steady_clock;

  // Ends `ms` milliseconds from now.
  explicit TDeadline(uint32_t ms) : End(Now() + std::chrono::milliseconds(ms)) {}

  bool Expired() const { return Now() >= End; }
  // Whole milliseconds left, rounded up so that a wait on them never ends early; 0 once
  // expired.
  uint32_t MillisLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(End - Now()).count();
    return left <= 0 ? 0 : static_cast<uint32_t>((left + 999) / 1000);
  }

  // The time deadlines are measured against: the steady clock, or the played clock of
  // the calling thread while it has one.
  static TClock::time_point Now();

 private:
  TClock::time_point End;
};

// Time that a test moves by hand instead of waiting for it: while it lives, deadlines
// made and read on the thread that created it follow it. One per thread at a time.
class TPlayedClock {
 public:
  TPlayedClock();
  ~TPlayedClock();
  TPlayedClock(const TPlayedClock&) = delete;
  TPlayedClock& operator=(const TPlayedClock&) = delete;

  TDeadline::TClock::time_point Now() const { return Current; }
  void Advance(std::chrono::microseconds step) { Current += step; }
  // Moves to `when`; a time already passed leaves the clock where it is.
  void AdvanceTo(TDeadline::TClock::time_point when) {
    if (when > Current) Current = when;
  }

 private:
  TDeadline::TClock::time_point Current;
};

}  // namespace printset
