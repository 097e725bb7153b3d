// TJobDispatcher: how the worker's calls reach the window's own thread. The toolkit
// implements it with its own means: a queued call in Qt, a posted message on Windows, a
// condition variable in a headless front end.
#pragma once

#include <functional>

namespace printset {

class TJobDispatcher {
 public:
  virtual ~TJobDispatcher() = default;
  // Runs `call` later on the owner's thread, in the order posted; called on any thread,
  // never blocks. A call still pending when the dispatcher goes is dropped unrun.
  virtual void Post(std::function<void()> call) = 0;
};

}  // namespace printset
