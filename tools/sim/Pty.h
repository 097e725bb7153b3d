// Pseudo-terminals for the simulated printer and the link tests.
#pragma once

#include <cstdint>
#include <string>

namespace printset {

struct TPtyHandles {
  int MasterFd = -1;
  // Held open for the pty's whole life: when the host closes its end between jobs the
  // master would otherwise see a hang-up and fail every read until the next open.
  int SlaveFd = -1;
  std::string SlavePath;
};

// Creates a pty whose line is raw (no echo, no line editing) before anyone opens the
// slave, with the master non-blocking. False with `error` set when the system refuses.
bool OpenRawPty(TPtyHandles& pty, std::string* error = nullptr);
void ClosePty(TPtyHandles& pty);

// The output rate currently set on a tty line (any descriptor of it, master or slave),
// as the kernel reports it with TCGETS2; -1 when it cannot be read.
int32_t ReadLineBaudRate(int fd);

// Whether a tty line is in exclusive-use mode (TIOCEXCL); false when it cannot be read.
bool ReadLineExclusive(int fd);

// Stops (true) or restarts the output of the line that `fd` is a descriptor of, as a
// terminal's XOFF would: whoever writes to it finds the line no longer taking bytes.
void SuspendLineOutput(int fd, bool suspended);

}  // namespace printset
