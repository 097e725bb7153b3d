// Windows build only: the native peers that tests/support/wine/run-tests.sh started before
// the test program, named by environment variables.
#pragma once

#include <string>

namespace printset {

// The value of `variable`; throws std::runtime_error naming it when it is not set.
std::string PeerSetting(const char* variable);
// The next unused peer of the pool whose size `countVariable` holds (0, 1, ...); every
// peer is handed out once per process, so that each test starts on a fresh one. Throws
// std::runtime_error when the pool is used up.
int NextPeer(const char* countVariable);

}  // namespace printset
