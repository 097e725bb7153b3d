#include "PtyPair.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "link/PacketCodec.h"

namespace printset {

TPtyPair::TPtyPair() {
  std::string error;
  if (!OpenRawPty(Handles, &error)) throw std::runtime_error("cannot create a pty: " + error);
}

TPtyPair::~TPtyPair() { ClosePty(Handles); }

void TPtyPair::WriteToHost(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(Handles.MasterFd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{Handles.MasterFd, POLLOUT, 0};
      if (::poll(&p, 1, 2000) <= 0) throw std::runtime_error("the host's side of the pty is full");
    } else if (!(n < 0 && errno == EINTR)) {
      throw std::runtime_error("write to the pty master failed");
    }
  }
}

std::vector<uint8_t> TPtyPair::ReadFromHost(size_t count, int ms) {
  using TClock = std::chrono::steady_clock;
  const auto deadline = TClock::now() + std::chrono::milliseconds(ms);
  std::vector<uint8_t> got;
  while (got.size() < count) {
    uint8_t chunk[4096];
    const size_t want = std::min(sizeof chunk, count - got.size());
    const ssize_t n = ::read(Handles.MasterFd, chunk, want);
    if (n > 0) {
      got.insert(got.end(), chunk, chunk + n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) break;
    pollfd p{Handles.MasterFd, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left));
  }
  return got;
}

std::vector<uint8_t> TPtyPair::ReadRequest(int ms) {
  std::vector<uint8_t> packet = ReadFromHost(kHeaderSize, ms);
  if (packet.size() < static_cast<size_t>(kHeaderSize)) return {};
  const std::vector<uint8_t> data = ReadFromHost(GetLe16(packet.data() + 8), ms);
  packet.insert(packet.end(), data.begin(), data.end());
  if (packet.size() < kHeaderSize + static_cast<size_t>(GetLe16(packet.data() + 8))) return {};
  return packet;
}

}  // namespace printset
