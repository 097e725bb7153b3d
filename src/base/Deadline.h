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
  explicit TDeadline(uint32_t ms) : End(TClock::now() + std::chrono::milliseconds(ms)) {}

  bool Expired() const { return TClock::now() >= End; }
  // Whole milliseconds left, rounded up so that a wait on them never ends early; 0 once
  // expired.
  uint32_t MillisLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(End - TClock::now()).count();
    return left <= 0 ? 0 : static_cast<uint32_t>((left + 999) / 1000);
  }

 private:
  TClock::time_point End;
};

}  // namespace printset
