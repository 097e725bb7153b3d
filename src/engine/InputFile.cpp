#include "engine/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace printset {

namespace {

#ifdef _WIN32
// No FIFOs or sockets among files here, and handles are not inherited unless asked for.
constexpr int kOpenFlags = O_RDONLY | O_BINARY;
#else
// Non-blocking, so that a FIFO put in the file's place since the first look cannot hold us.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
#endif

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
#ifdef S_ISSOCK
  if (S_ISSOCK(mode)) return "a socket";
#endif
  return "something else";
}

}  // namespace

bool CheckInputFile(const std::string& path, uint64_t maxSize, std::string& reason) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = std::string(KindOf(info.st_mode)) + ", not a regular file";
    return false;
  }
  // Opening is the only true test of the right to read (root, ACLs, read-only mounts).
  const int fd = ::open(path.c_str(), kOpenFlags);
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  // The size of what was opened, in case the name was replaced since the first look.
  const bool sized = ::fstat(fd, &info) == 0;
  const int savedErrno = errno;
  ::close(fd);
  if (!sized) {
    reason = std::strerror(savedErrno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = std::string(KindOf(info.st_mode)) + ", not a regular file";
    return false;
  }
  if (static_cast<uint64_t>(info.st_size) > maxSize) {
    reason = std::to_string(info.st_size) + " bytes, more than the " + std::to_string(maxSize) + " allowed";
    return false;
  }
  return true;
}

}  // namespace printset
