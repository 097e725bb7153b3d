// The reference the worker is measured against: the same request packets written and
// the same 12-byte replies read on a pty, with nothing else in between.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace printset {

struct TExchangeRun {
  int Blocks = 0;
  int Failures = 0;  // replies that did not come, or did not start 03 FE
  double Seconds = 0;
  double CpuSeconds = 0;  // of the whole process, peer included when it runs in-process
  std::vector<double> ExchangeSeconds;  // each exchange, from the end of the one before
};

// The firmware block requests of `image` (whose size is a multiple of 256), as built by
// the link's packet builder.
std::vector<std::vector<uint8_t>> BlockRequests(const std::vector<uint8_t>& image);

// Peer: a small loop on the pty's master that answers every request with a prebuilt reply.
TExchangeRun ExchangeWithLoopPeer(const std::vector<std::vector<uint8_t>>& requests);

// Peer: a simulated printer already serving `devicePath`. The printer is first told
// 115200 baud, outside the timed part, so that a pacing printer paces at that rate.
TExchangeRun ExchangeWithPrinter(const std::string& devicePath, const std::vector<std::vector<uint8_t>>& requests);

}  // namespace printset
