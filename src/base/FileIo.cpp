#include "base/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace printset {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
// No FIFOs or sockets among files here, and handles are not inherited unless asked for.
constexpr int kReadFlags = O_RDONLY | O_BINARY;
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;
#else
// Non-blocking, so that a FIFO put in the file's place since the first look cannot hold us.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;
constexpr int kCreateFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
#endif
constexpr size_t kReadChunk = 65536;
constexpr int kTemporaryNameTries = 100;

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

std::string TooLarge(uint64_t maxSize) { return "more than the " + std::to_string(maxSize) + " bytes allowed"; }

// A name beside `target` that no other writer of this or another process picks.
std::string TemporaryName(const fs::path& target, int attempt) {
  static std::atomic<uint64_t> counter{0};
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  return target.string() + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
         std::to_string(static_cast<uint64_t>(now) % 1000000u) + "-" + std::to_string(attempt);
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const auto n = ::write(fd, data, static_cast<unsigned>(size > kReadChunk ? kReadChunk : size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Opens a regular file for reading: a descriptor, or -1 with `reason` set. The first look
// never opens what is not a regular file, since opening a device can act on it.
int OpenRegularFile(const std::string& path, struct stat& info, std::string& reason) {
  if (::stat(path.c_str(), &info) != 0) {
    reason = std::strerror(errno);
    return -1;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = std::string(KindOf(info.st_mode)) + ", not a regular file";
    return -1;
  }
  // Opening is the only true test of the right to read (root, ACLs, read-only mounts).
  const int fd = ::open(path.c_str(), kReadFlags);
  if (fd < 0) {
    reason = std::strerror(errno);
    return -1;
  }
  // What was opened, in case the name was replaced since the first look.
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    reason = S_ISREG(info.st_mode) ? std::strerror(errno) : std::string(KindOf(info.st_mode)) + ", not a regular file";
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

bool CheckReadableFile(const std::string& path, std::string& reason) {
  struct stat info {};
  const int fd = OpenRegularFile(path, info, reason);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool ReadFileBounded(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& bytes, std::string& reason) {
  bytes.clear();
  struct stat info {};
  const int fd = OpenRegularFile(path, info, reason);
  if (fd < 0) return false;
  if (static_cast<uint64_t>(info.st_size) > maxSize) {
    ::close(fd);
    reason = std::to_string(info.st_size) + " bytes, " + TooLarge(maxSize);
    return false;
  }
  uint8_t chunk[kReadChunk];
  for (;;) {
    const auto n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = std::strerror(errno);
      break;
    }
    if (n == 0) {
      ::close(fd);
      return true;
    }
    if (bytes.size() + static_cast<size_t>(n) > maxSize) {
      reason = TooLarge(maxSize);
      break;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  bytes.clear();
  return false;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string& error) {
  std::error_code ec;
  fs::path target = path;
  // Writing through a link keeps the link and replaces the file it points to.
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    target = fs::weakly_canonical(target, ec);
    if (ec) {
      error = ec.message();
      return false;
    }
  }
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameTries && fd < 0; ++attempt) {
    temporary = TemporaryName(target, attempt);
    fd = ::open(temporary.c_str(), kCreateFlags, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  bool written = WriteAll(fd, static_cast<const uint8_t*>(data), size);
  int savedErrno = errno;
#ifndef _WIN32
  written = written && ::fsync(fd) == 0;
  if (!written && savedErrno == 0) savedErrno = errno;
#endif
  if (::close(fd) != 0 && written) {
    written = false;
    savedErrno = errno;
  }
  if (!written) {
    error = savedErrno != 0 ? std::strerror(savedErrno) : "write error";
    fs::remove(temporary, ec);
    return false;
  }
  const fs::file_status oldStatus = fs::status(target, ec);
  if (!ec && fs::exists(oldStatus)) fs::permissions(temporary, oldStatus.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    error = ec.message();
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace printset
