#include "PeerPool.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>

namespace printset {

std::string PeerSetting(const char* variable) {
  const char* value = std::getenv(variable);
  if (!value || !*value) throw std::runtime_error(std::string(variable) + " is not set: run the tests by make test-windows");
  return value;
}

int NextPeer(const char* countVariable) {
  static std::mutex mutex;
  static std::map<std::string, int> used;
  const int count = std::atoi(PeerSetting(countVariable).c_str());
  std::lock_guard<std::mutex> lock(mutex);
  int& next = used[countVariable];
  if (next >= count)
    throw std::runtime_error(std::string("all ") + std::to_string(count) + " peers of " + countVariable +
                             " are used; make the pool larger in run-tests.sh");
  return next++;
}

}  // namespace printset
