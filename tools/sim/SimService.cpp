// The simulated printer's service thread: it sleeps in poll() on the transport and a
// stop event, takes requests in, and writes the replies out, paced when asked.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/SimPrinter.h"

namespace printset {

namespace {

// A packet begun but left unfinished this long is given up, so that a host that
// stopped mid-packet does not swallow the start of its next request.
constexpr int kStalePacketMs = 500;

timespec Now() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return t;
}

timespec AddNanos(timespec t, int64_t ns) {
  const int64_t total = static_cast<int64_t>(t.tv_nsec) + ns % 1000000000;
  t.tv_sec += static_cast<time_t>(ns / 1000000000 + total / 1000000000);
  t.tv_nsec = static_cast<long>(total % 1000000000);
  return t;
}

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

int MillisUntil(const timespec& deadline) {
  const timespec now = Now();
  if (!Before(now, deadline)) return 0;
  const int64_t ns = (deadline.tv_sec - now.tv_sec) * 1000000000LL + (deadline.tv_nsec - now.tv_nsec);
  return static_cast<int>((ns + 999999) / 1000000);
}

}  // namespace

TSimPrinter::~TSimPrinter() { Stop(); }

bool TSimPrinter::StartPty() {
  std::lock_guard<std::mutex> lock(Mutex);
  if (Service.joinable()) {
    Error = "already started";
    return false;
  }
  if (!OpenRawPty(Pty, &Error)) return false;
  return StartService();
}

bool TSimPrinter::StartUdp(uint16_t port) {
  std::lock_guard<std::mutex> lock(Mutex);
  if (Service.joinable()) {
    Error = "already started";
    return false;
  }
  SocketFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (SocketFd < 0) {
    Error = std::string("socket: ") + std::strerror(errno);
    return false;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(SocketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(SocketFd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    Error = "bind 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
    ::close(SocketFd);
    SocketFd = -1;
    return false;
  }
  Port = ntohs(address.sin_port);
  // The foreign host: another socket on another port of the same machine.
  ForeignFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  return StartService();
}

bool TSimPrinter::StartService() {
  StopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (StopFd < 0) {
    Error = std::string("eventfd: ") + std::strerror(errno);
    ClosePty(Pty);
    if (SocketFd >= 0) ::close(SocketFd);
    SocketFd = -1;
    return false;
  }
  Error.clear();
  LastExchangeEnd = timespec{};
  Service = std::thread(&TSimPrinter::Serve, this);
  return true;
}

void TSimPrinter::Stop() {
  std::unique_lock<std::mutex> lock(Mutex);
  if (!Service.joinable()) return;
  const uint64_t one = 1;
  if (::write(StopFd, &one, sizeof one) < 0) {
    // An eventfd write only fails on counter overflow, which one write cannot reach.
  }
  std::thread service = std::move(Service);
  lock.unlock();  // the service thread takes the lock for every request
  service.join();
  lock.lock();
  ::close(StopFd);
  StopFd = -1;
  if (SocketFd >= 0) ::close(SocketFd);
  SocketFd = -1;
  if (ForeignFd >= 0) ::close(ForeignFd);
  ForeignFd = -1;
  Port = 0;
  // A line left stalled would keep the host's writes waiting on a pty that is going away.
  SuspendLineOutput(Pty.SlaveFd, false);
  ClosePty(Pty);
}

std::string TSimPrinter::DevicePath() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Pty.SlavePath;
}

uint16_t TSimPrinter::UdpPort() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Port;
}

std::string TSimPrinter::LastError() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Error;
}

void TSimPrinter::Serve() {
  // The paced line sleeps to absolute deadlines; the default 50 us of timer slack would
  // show up in every exchange.
  ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
  if (SocketFd >= 0) ServeUdp();
  else ServePty();
}

void TSimPrinter::ServePty() {
  TRequestParser parser;
  timespec firstByte = Now();
  uint8_t chunk[4096];
  const auto send = [this](const std::vector<uint8_t>& bytes) { return WriteToMaster(bytes); };
  for (;;) {
    pollfd fds[2] = {{StopFd, POLLIN, 0}, {Pty.MasterFd, POLLIN, 0}};
    const int ready = ::poll(fds, 2, parser.HasPartial() ? kStalePacketMs : -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || fds[0].revents) return;
    if (ready == 0) {
      parser.DropPartial();
    } else if (fds[1].revents & POLLIN) {
      const ssize_t n = ::read(Pty.MasterFd, chunk, sizeof chunk);
      if (n > 0 && !HearsLine()) {
        parser.DropPartial();  // garbage at the printer's rate: nothing of it is a request
      } else if (n > 0) {
        if (!parser.HasPartial()) firstByte = Now();
        parser.Feed(chunk, static_cast<size_t>(n));
      }
    } else if (fds[1].revents & (POLLHUP | POLLERR)) {
      // Cannot happen while our own slave descriptor is open; should it, wait for the
      // stop event a while rather than spin on the hang-up.
      pollfd stop{StopFd, POLLIN, 0};
      if (::poll(&stop, 1, 100) > 0) return;
    }
    while (auto request = parser.Next()) {
      if (!Handle(*request, firstByte, send)) return;
      firstByte = Now();  // what is left arrived by now at the latest
    }
  }
}

bool TSimPrinter::HearsLine() const {
  std::lock_guard<std::mutex> lock(Mutex);
  if (Listening == kSimAnyRate) return true;
  return Listening != kSimDeaf && Pty.SlaveFd >= 0 && ReadLineBaudRate(Pty.SlaveFd) == Listening;
}

void TSimPrinter::ServeUdp() {
  std::vector<uint8_t> datagram(65536);
  for (;;) {
    pollfd fds[2] = {{StopFd, POLLIN, 0}, {SocketFd, POLLIN, 0}};
    const int ready = ::poll(fds, 2, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || fds[0].revents) return;
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(SocketFd, datagram.data(), datagram.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n <= 0) continue;
    const timespec arrival = Now();
    // One packet per datagram: nothing carries over from one datagram to the next.
    TRequestParser parser;
    parser.Feed(datagram.data(), static_cast<size_t>(n));
    const auto send = [&](const std::vector<uint8_t>& bytes) {
      // A reply that cannot be sent is lost, as it would be on a network.
      ::sendto(SocketFd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
      return true;
    };
    const auto sendForeign = [&](const std::vector<uint8_t>& bytes) {
      if (ForeignFd >= 0)
        ::sendto(ForeignFd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
    };
    while (auto request = parser.Next())
      if (!Handle(*request, arrival, send, sendForeign)) return;
  }
}

bool TSimPrinter::Handle(const TParsedRequest& request, timespec arrival,
                         const std::function<bool(const std::vector<uint8_t>&)>& send,
                         const std::function<void(const std::vector<uint8_t>&)>& sendForeign) {
  const TAction action = Decide(request);
  if (RequestHandler) RequestHandler(action.Record, action.LogLine);
  if (action.StallLine) SuspendLineOutput(Pty.SlaveFd, true);
  if (action.HangUp && Pty.MasterFd >= 0) {
    // Closing the master hangs up every descriptor of the slave, the host's too; the
    // service then only waits for its stop.
    ::close(Pty.MasterFd);
    Pty.MasterFd = -1;
  }
  if (!action.ForeignReply.empty() && sendForeign) sendForeign(action.ForeignReply);
  if (!action.Reply.empty()) {
    if (action.DelayMs > 0 && !WaitStoppable(AddNanos(Now(), action.DelayMs * 1000000LL))) return false;
    if (action.PaceRate > 0) PaceUntil(arrival, request.WireLength + action.Reply.size(), action.PaceRate);
    if (!send(AsHeardByHost(action.Reply, action.TalkRate))) return false;
    if (action.DuplicateMs >= 0) {
      if (!WaitStoppable(AddNanos(Now(), action.DuplicateMs * 1000000LL))) return false;
      if (!send(AsHeardByHost(action.Reply, action.TalkRate))) return false;
    }
  }
  if (action.ModeChanged && ModeHandler) ModeHandler(action.NewMode);
  return true;
}

bool TSimPrinter::WaitStoppable(timespec deadline) const {
  for (;;) {
    const int left = MillisUntil(deadline);
    if (left <= 0) return true;
    pollfd stop{StopFd, POLLIN, 0};
    const int ready = ::poll(&stop, 1, left);
    if (ready > 0) return false;
    if (ready < 0 && errno != EINTR) return false;
  }
}

void TSimPrinter::PaceUntil(timespec arrival, size_t wireBytes, int32_t rate) {
  // Exchanges cannot overlap on one line: the next starts when the last has ended.
  const timespec start = Before(arrival, LastExchangeEnd) ? LastExchangeEnd : arrival;
  const int64_t ns = static_cast<int64_t>(wireBytes) * 10 * 1000000000LL / rate;
  const timespec end = AddNanos(start, ns);
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &end, nullptr) == EINTR) {
  }
  LastExchangeEnd = end;
}

std::vector<uint8_t> TSimPrinter::AsHeardByHost(const std::vector<uint8_t>& bytes, int32_t talkRate) const {
  std::lock_guard<std::mutex> lock(Mutex);
  if (talkRate <= 0 || Pty.SlaveFd < 0 || ReadLineBaudRate(Pty.SlaveFd) == talkRate) return bytes;
  return std::vector<uint8_t>(bytes.size(), 0x00);
}

bool TSimPrinter::WriteToMaster(const std::vector<uint8_t>& bytes) const {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(Pty.MasterFd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return true;  // the reply is lost; keep serving
    // The host is not reading and the line's buffer is full: wait for room or the stop.
    pollfd fds[2] = {{StopFd, POLLIN, 0}, {Pty.MasterFd, POLLOUT, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return true;
    if (fds[0].revents) return false;
  }
  return true;
}

}  // namespace printset
