#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "frontend/AppendFile.h"

namespace printset {

TAppendFile::TAppendFile(const std::string& path)
    : Handle(_open(path.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE)) {
  if (Handle < 0) Failure = std::strerror(errno);
}

TAppendFile::~TAppendFile() {
  if (Handle >= 0) static_cast<void>(_close(Handle));
}

bool TAppendFile::Append(const std::string& text) {
  if (Handle < 0) return false;
  const int written = _write(Handle, text.data(), static_cast<unsigned>(text.size()));
  if (written == static_cast<int>(text.size())) return true;
  Failure = written < 0 ? std::strerror(errno) : "only part of the line was written";
  return false;
}

}  // namespace printset
