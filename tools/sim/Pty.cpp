// Only the kernel's termios2 interface is used, as in the port itself: <termios.h> would
// clash with <asm/termbits.h>.
#include "sim/Pty.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace printset {

namespace {

bool Fail(TPtyHandles& pty, std::string* error, const char* step) {
  if (error) *error = std::string(step) + ": " + std::strerror(errno);
  ClosePty(pty);
  return false;
}

}  // namespace

bool OpenRawPty(TPtyHandles& pty, std::string* error) {
  ClosePty(pty);
  pty.MasterFd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.MasterFd < 0) return Fail(pty, error, "posix_openpt");
  if (::grantpt(pty.MasterFd) != 0) return Fail(pty, error, "grantpt");
  if (::unlockpt(pty.MasterFd) != 0) return Fail(pty, error, "unlockpt");
  char name[128];
  if (::ptsname_r(pty.MasterFd, name, sizeof name) != 0) return Fail(pty, error, "ptsname_r");
  pty.SlavePath = name;

  // Terminal settings asked of the master apply to the slave's line, so the host finds a
  // raw line even before it configures the port itself.
  struct termios2 tio {};
  if (::ioctl(pty.MasterFd, TCGETS2, &tio) != 0) return Fail(pty, error, "TCGETS2");
  tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB);
  tio.c_cflag |= CS8 | CREAD | CLOCAL;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (::ioctl(pty.MasterFd, TCSETS2, &tio) != 0) return Fail(pty, error, "TCSETS2");

  pty.SlaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (pty.SlaveFd < 0) return Fail(pty, error, "open slave");
  const int flags = ::fcntl(pty.MasterFd, F_GETFL);
  if (flags < 0 || ::fcntl(pty.MasterFd, F_SETFL, flags | O_NONBLOCK) != 0)
    return Fail(pty, error, "fcntl");
  return true;
}

void ClosePty(TPtyHandles& pty) {
  if (pty.SlaveFd >= 0) ::close(pty.SlaveFd);
  if (pty.MasterFd >= 0) ::close(pty.MasterFd);
  pty.SlaveFd = -1;
  pty.MasterFd = -1;
  pty.SlavePath.clear();
}

int32_t ReadLineBaudRate(int fd) {
  struct termios2 tio {};
  if (fd < 0 || ::ioctl(fd, TCGETS2, &tio) != 0) return -1;
  return static_cast<int32_t>(tio.c_ospeed);
}

bool ReadLineExclusive(int fd) {
  int exclusive = 0;
  return fd >= 0 && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

void SuspendLineOutput(int fd, bool suspended) {
  if (fd >= 0) ::ioctl(fd, TCXONC, suspended ? TCOOFF : TCOON);
}

}  // namespace printset
