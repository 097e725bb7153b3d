#include "PtyPair.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "sim/Pty.h"

namespace printset {

struct TPtyPair::TFarEnd {
  TPtyHandles Handles;
};

TPtyPair::TPtyPair() : FarEnd(std::make_unique<TFarEnd>()) {
  std::string error;
  if (!OpenRawPty(FarEnd->Handles, &error)) throw std::runtime_error("cannot create a pty: " + error);
  PortName = FarEnd->Handles.SlavePath;
}

TPtyPair::~TPtyPair() { ClosePty(FarEnd->Handles); }

void TPtyPair::WriteToHost(const std::vector<uint8_t>& bytes) {
  const int master = FarEnd->Handles.MasterFd;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{master, POLLOUT, 0};
      if (::poll(&p, 1, 2000) <= 0) throw std::runtime_error("the host's side of the pty is full");
    } else if (!(n < 0 && errno == EINTR)) {
      throw std::runtime_error("write to the pty master failed");
    }
  }
}

std::vector<uint8_t> TPtyPair::ReadFromHost(size_t count, int ms) {
  using TClock = std::chrono::steady_clock;
  const int master = FarEnd->Handles.MasterFd;
  const auto deadline = TClock::now() + std::chrono::milliseconds(ms);
  std::vector<uint8_t> got;
  while (got.size() < count) {
    uint8_t chunk[4096];
    const size_t want = std::min(sizeof chunk, count - got.size());
    const ssize_t n = ::read(master, chunk, want);
    if (n > 0) {
      got.insert(got.end(), chunk, chunk + n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) break;
    pollfd p{master, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left));
  }
  return got;
}

int32_t TPtyPair::LineBaudRate() const { return ReadLineBaudRate(FarEnd->Handles.MasterFd); }

}  // namespace printset
