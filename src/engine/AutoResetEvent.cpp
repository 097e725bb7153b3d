#include "engine/AutoResetEvent.h"

#include <chrono>

namespace printset {

void TAutoResetEvent::Set() {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    State = true;
  }
  Signalled.notify_one();
}

void TAutoResetEvent::Reset() {
  std::lock_guard<std::mutex> lock(Mutex);
  State = false;
}

bool TAutoResetEvent::Wait(uint32_t ms) {
  std::unique_lock<std::mutex> lock(Mutex);
  if (!State) Signalled.wait_for(lock, std::chrono::milliseconds(ms), [this] { return State; });
  const bool was = State;
  State = false;
  return was;
}

}  // namespace printset
