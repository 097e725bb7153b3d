#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "frontend/AppendFile.h"

namespace printset {

namespace {

constexpr mode_t kNewFileMode = 0644;

}  // namespace

TAppendFile::TAppendFile(const std::string& path)
    : Handle(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, kNewFileMode)) {
  if (Handle < 0) Failure = std::strerror(errno);
}

TAppendFile::~TAppendFile() {
  if (Handle >= 0) static_cast<void>(close(Handle));
}

bool TAppendFile::Append(const std::string& text) {
  if (Handle < 0) return false;
  for (;;) {
    const ssize_t written = write(Handle, text.data(), text.size());
    if (written == static_cast<ssize_t>(text.size())) return true;
    if (written < 0 && errno == EINTR) continue;
    Failure = written < 0 ? std::strerror(errno) : "only part of the line was written";
    return false;
  }
}

}  // namespace printset
