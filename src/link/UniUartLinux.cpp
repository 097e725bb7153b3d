// POSIX implementation over the kernel's termios2 interface, which takes any baud rate
// (BOTHER) where the driver can produce it. <termios.h> is not included: its struct
// termios clashes with the kernel's, and everything needed is reached through ioctl.
#include "link/UniUart.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "base/Deadline.h"

namespace printset {

namespace {

constexpr int kDiscardLimit = 65536;

// Errors of a settings request that mean the device is gone, not that it refused.
bool IsGoneError(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

// Why a line that reported a hang-up (or an error) fails: a hung-up tty refuses its
// requests with the system's reason, which is what the operator is shown.
std::string HangUpReason(int fd) {
  struct termios2 probe {};
  if (::ioctl(fd, TCGETS2, &probe) != 0) return std::strerror(errno);
  return "the line hung up";
}

tcflag_t ByteSizeFlag(uint8_t code) {
  switch (code + 5) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
  }
}

}  // namespace

bool TMyUart::Open(const std::string& name, int32_t rate) {
  const std::lock_guard<std::mutex> lock(HandleMutex);
  Error.clear();
  LostError.clear();
  const std::string device = ResolvePortName(name, PortMap);
  int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Error = std::strerror(errno);
    Handle = kNullHandle;
    return false;
  }
  // Keep descriptors 0..2 free so that a handle is never confused with the null handle.
  if (fd < 3) {
    const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    ::close(fd);
    if (moved < 0) {
      Error = std::strerror(errno);
      return false;
    }
    fd = moved;
  }
  Handle = fd;
  auto fail = [&](const char* reason) {
    Error = reason ? reason : std::strerror(errno);
    ::close(fd);
    Handle = kNullHandle;
    return false;
  };
  struct stat info {};
  if (::fstat(fd, &info) != 0) return fail(nullptr);
  if (!S_ISCHR(info.st_mode)) return fail("Not a character device");
  // TIOCEXCL keeps out other openers but not root; the lock keeps out everyone who asks.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    return fail(errno == EWOULDBLOCK ? "Device or resource busy" : nullptr);
  struct termios2 probe {};
  if (::ioctl(fd, TCGETS2, &probe) != 0) return fail("Not a serial port");
  ::ioctl(fd, TIOCEXCL);
  // USB adapters otherwise hold received bytes back for up to 16 ms; not every driver
  // knows the request, which is fine.
  struct serial_struct serial {};
  if (::ioctl(fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
    serial.flags |= ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &serial);
  }
  ::ioctl(fd, TCFLSH, TCIOFLUSH);
  ApplyTimeouts();
  Rate = rate;
  if (!ApplySettings()) return fail("The device does not accept the line settings");
  return true;
}

void TMyUart::Close() {
  const std::lock_guard<std::mutex> lock(HandleMutex);
  if (Handle != kNullHandle) {
    const int fd = static_cast<int>(Handle);
    // The exclusive flag would otherwise outlive us while another descriptor holds the tty.
    ::ioctl(fd, TIOCNXCL);
    // Output still queued (a write that gave up) would make close() wait for the line to
    // drain, which on a stalled line is up to the driver's closing wait of 30 s.
    ::ioctl(fd, TCFLSH, TCOFLUSH);
    ::close(fd);
    Handle = kNullHandle;
  }
}

void TMyUart::SetModemLines() {
  const int fd = Fd();
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  // Handshake modes are carried by the driver (RTS) or not available (DTR): keep the line up.
  ::ioctl(fd, Line.DtrMode == 1 ? TIOCMBIC : TIOCMBIS, &dtr);
  if (Line.RtsMode != 2) ::ioctl(fd, Line.RtsMode == 1 ? TIOCMBIC : TIOCMBIS, &rts);
}

bool TMyUart::ApplySettings() {
  if (!IsOpen()) return false;
  if (Rate <= 0) return false;
  const int fd = Fd();
  ++SettingsCalls;
  struct termios2 tio {};
  ::ioctl(fd, TCGETS2, &tio);
  tio.c_iflag = IGNBRK;
  if (Line.ParityCheck) tio.c_iflag |= INPCK;
  if (Line.XonXoffOut) tio.c_iflag |= IXON;
  if (Line.XonXoffIn) tio.c_iflag |= IXOFF;
  if (!Line.TxContinueOnXoff && Line.XonXoffIn) tio.c_iflag |= IXANY;
  tio.c_oflag = 0;
  tio.c_lflag = 0;
  tio.c_cflag = CREAD | CLOCAL | BOTHER | ByteSizeFlag(Line.ByteSizeCode);
  switch (Line.ParityMode) {
    case 1: tio.c_cflag |= PARENB | PARODD; break;
    case 2: tio.c_cflag |= PARENB; break;
    case 3: tio.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: tio.c_cflag |= PARENB | CMSPAR; break;
    default: break;
  }
  if (Line.StopBitsCode != 0) tio.c_cflag |= CSTOPB;
  if (Line.CtsOutFlow || Line.RtsMode == 2) tio.c_cflag |= CRTSCTS;
  tio.c_cflag |= BOTHER << IBSHIFT;
  tio.c_ispeed = static_cast<speed_t>(Rate);
  tio.c_ospeed = static_cast<speed_t>(Rate);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  tio.c_cc[VSTART] = Line.XonCharacter;
  tio.c_cc[VSTOP] = Line.XoffCharacter;
  if (::ioctl(fd, TCSETS2, &tio) != 0) {
    if (IsGoneError(errno)) LostError = std::strerror(errno);
    return false;
  }
  // The driver may round the rate to what its clock can make; refuse anything more than
  // 3 % away, which would garble the line.
  struct termios2 actual {};
  if (::ioctl(fd, TCGETS2, &actual) != 0) return false;
  const double wanted = static_cast<double>(Rate);
  const double got = static_cast<double>(actual.c_ospeed);
  if (got < wanted * 0.97 || got > wanted * 1.03) return false;
  SetModemLines();
  return true;
}

bool TMyUart::ApplyTimeouts() {
  // Reads are timed by poll() in Read itself; nothing to hand to the driver.
  ++SettingsCalls;
  return true;
}

int TMyUart::Read(uint8_t* buffer, int count, uint32_t ms) {
  SetReadTimeout(ms);
  const int fd = Fd();
  if (fd < 0 || count < 0) return -1;
  const TDeadline deadline(ReadTotalConstant);
  TDeadline gapDeadline(0);
  int got = 0;
  while (got < count) {
    const ssize_t n = ::read(fd, buffer + got, static_cast<size_t>(count - got));
    if (n > 0) {
      got += static_cast<int>(n);
      gapDeadline = TDeadline(Line.ReadInterval);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      LostError = std::strerror(errno);
      return -1;
    }
    // Nothing waiting (or end of file on a hung-up line): wait for the next byte or an ending.
    uint32_t wait = deadline.MillisLeft();
    if (got > 0) {
      const uint32_t gap = gapDeadline.MillisLeft();
      if (gap < wait) wait = gap;
    }
    if (wait <= 0) break;
    struct pollfd p {fd, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(wait));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) {
      LostError = std::strerror(errno);
      return -1;
    }
    if (ready == 0) continue;  // the loop re-reads and re-checks the endings
    if ((p.revents & (POLLERR | POLLNVAL)) || ((p.revents & POLLHUP) && !(p.revents & POLLIN))) {
      if (got > 0) return got;
      LostError = HangUpReason(fd);
      return -1;
    }
  }
  return got;
}

bool TMyUart::Write(const uint8_t* buffer, int count) {
  const int fd = Fd();
  if (fd < 0) {
    Error = "the port is not open";
    return false;
  }
  const TDeadline deadline(WriteTimeoutMs(count));
  int done = 0;
  while (done < count) {
    const ssize_t n = ::write(fd, buffer + done, static_cast<size_t>(count - done));
    if (n > 0) {
      done += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      Error = std::strerror(errno);
      LostError = Error;
      return false;
    }
    const uint32_t left = deadline.MillisLeft();
    if (left == 0) {
      Error = "the line took " + std::to_string(done) + " of " + std::to_string(count) +
                  " bytes and then stopped taking any";
      return false;
    }
    struct pollfd p {fd, POLLOUT, 0};
    if (::poll(&p, 1, static_cast<int>(left)) < 0 && errno != EINTR) {
      Error = std::strerror(errno);
      return false;
    }
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) {
      Error = HangUpReason(fd);
      LostError = Error;
      return false;
    }
  }
  return true;
}

int TMyUart::DiscardInput() {
  const int fd = Fd();
  if (fd < 0) return 0;
  int discarded = 0;
  uint8_t scratch[256];
  // A line that never falls silent (noise, a printer babbling) must not hold us here.
  while (discarded < kDiscardLimit) {
    const ssize_t n = ::read(fd, scratch, sizeof scratch);
    if (n > 0) {
      discarded += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // Nothing more waiting, end of file, or an error the next read reports. Bytes the
    // driver has taken but not yet queued for reading go too; a failed flush leaves them
    // for the reply receiver, which skips what is not a reply.
    static_cast<void>(::ioctl(fd, TCFLSH, TCIFLUSH));
    return discarded;
  }
  return discarded;
}

void TMyUart::DiscardOutput() {
  const int fd = Fd();
  if (fd >= 0) ::ioctl(fd, TCFLSH, TCOFLUSH);
}

void TMyUart::ReleaseExclusiveUse() {
  const std::lock_guard<std::mutex> lock(HandleMutex);
  const int fd = Fd();
  if (fd >= 0) ::ioctl(fd, TIOCNXCL);
}

}  // namespace printset
