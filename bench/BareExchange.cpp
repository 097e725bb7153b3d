#include "BareExchange.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

#include "BenchClock.h"
#include "engine/Commands.h"
#include "link/PacketCodec.h"
#include "link/UniUart.h"
#include "sim/Pty.h"

namespace printset {

namespace {

constexpr int32_t kLineRate = 115200;
constexpr int kBlock = 256;
constexpr uint32_t kReplyWaitMs = 2000;

bool ReadReply(TMyUart& port) {
  uint8_t reply[kHeaderSize];
  return port.Read(reply, kHeaderSize, kReplyWaitMs) == kHeaderSize && reply[0] == kStartByte &&
         reply[1] == kDirectionReply;
}

TExchangeRun TimeExchanges(TMyUart& port, const std::vector<std::vector<uint8_t>>& requests) {
  TExchangeRun run;
  run.Blocks = static_cast<int>(requests.size());
  run.ExchangeSeconds.reserve(requests.size());
  const TSample start = SampleNow();
  double from = start.Wall;
  for (const auto& request : requests) {
    port.Write(request.data(), static_cast<int>(request.size()));
    if (!ReadReply(port)) ++run.Failures;
    const double to = WallSeconds();
    run.ExchangeSeconds.push_back(to - from);
    from = to;
  }
  const TSample end = SampleNow();
  run.Seconds = end.Wall - start.Wall;
  run.CpuSeconds = end.Cpu - start.Cpu;
  return run;
}

// Answers `count` requests of `requestSize` bytes each on the master side of the pty.
void ServeLoop(int masterFd, size_t count, size_t requestSize) {
  std::vector<uint8_t> reply;
  BuildPacket(kDirectionReply, kCommandFirmwareBlock, 0, nullptr, 0, reply);
  std::vector<uint8_t> buffer(requestSize);
  for (size_t i = 0; i < count; ++i) {
    size_t got = 0;
    while (got < requestSize) {
      const ssize_t n = ::read(masterFd, buffer.data() + got, requestSize - got);
      if (n > 0) {
        got += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return;
      pollfd p{masterFd, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(kReplyWaitMs)) == 0) return;  // the host gave up
    }
    size_t sent = 0;
    while (sent < reply.size()) {
      const ssize_t n = ::write(masterFd, reply.data() + sent, reply.size() - sent);
      if (n > 0) sent += static_cast<size_t>(n);
      else if (n < 0 && errno != EAGAIN && errno != EINTR) return;
    }
  }
}

}  // namespace

std::vector<std::vector<uint8_t>> BlockRequests(const std::vector<uint8_t>& image) {
  std::vector<std::vector<uint8_t>> requests;
  for (size_t offset = 0; offset + kBlock <= image.size(); offset += kBlock)
    requests.push_back(BuildRequest(kCommandFirmwareBlock, static_cast<uint32_t>(offset), image.data() + offset, kBlock));
  return requests;
}

TExchangeRun ExchangeWithLoopPeer(const std::vector<std::vector<uint8_t>>& requests) {
  TPtyHandles pty;
  std::string error;
  if (!OpenRawPty(pty, &error)) throw std::runtime_error("pty: " + error);
  TMyUart port;
  if (!port.Open(pty.SlavePath, kLineRate)) {
    ClosePty(pty);
    throw std::runtime_error("open " + pty.SlavePath + ": " + port.LastError());
  }
  const size_t requestSize = requests.empty() ? 0 : requests.front().size();
  std::thread peer(ServeLoop, pty.MasterFd, requests.size(), requestSize);
  const TExchangeRun run = TimeExchanges(port, requests);
  peer.join();
  port.Close();
  ClosePty(pty);
  return run;
}

TExchangeRun ExchangeWithPrinter(const std::string& devicePath, const std::vector<std::vector<uint8_t>>& requests) {
  TMyUart port;
  if (!port.Open(devicePath, kLineRate)) throw std::runtime_error("open " + devicePath + ": " + port.LastError());
  const std::vector<uint8_t> switchRate = BuildRequest(kCommandSwitchBaud, kLineRate, nullptr, 0);
  port.Write(switchRate.data(), static_cast<int>(switchRate.size()));
  if (!ReadReply(port)) throw std::runtime_error("the printer did not take the rate switch");
  const TExchangeRun run = TimeExchanges(port, requests);
  port.Close();
  return run;
}

}  // namespace printset
