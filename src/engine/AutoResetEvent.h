// An event that releases one wait and then resets itself.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace printset {

class TAutoResetEvent {
 public:
  // Signals the event: the next Wait (or one waiting now) returns true.
  void Set();
  // Clears a signal nobody waited for.
  void Reset();
  // True when the event was signalled within `ms` (0 tests without waiting); the
  // signal is consumed.
  bool Wait(uint32_t ms);

 private:
  std::mutex Mutex;
  std::condition_variable Signalled;
  bool State = false;
};

}  // namespace printset
