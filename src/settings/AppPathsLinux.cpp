// The POSIX side of the program's folders: XDG base folders under the home folder.
#include "settings/AppPaths.h"
#include "base/FileIo.h"
#include "settings/AppPathsPlatform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace printset::platform {

namespace {

// XDG's fallbacks under the home folder.
constexpr const char* kConfigHomeVariable = "XDG_CONFIG_HOME";
constexpr const char* kConfigHomeDefault = ".config";
constexpr const char* kStateHomeVariable = "XDG_STATE_HOME";
constexpr const char* kStateHomeDefault = ".local/state";
// The base folders hold private data: a folder made here is the user's alone.
constexpr mode_t kFolderMode = 0700;

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

bool HomeFolder(std::string& folder, std::string& reason) {
  const char* home = std::getenv("HOME");
  if (IsAbsolute(home)) {
    folder = home;
    return true;
  }
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
      IsAbsolute(found->pw_dir)) {
    folder = found->pw_dir;
    return true;
  }
  reason = "no home folder: neither HOME nor the user database names one";
  return false;
}

// A relative value is ignored, as the base directory rules require.
bool BaseFolder(const char* variable, const char* underHome, std::string& folder, std::string& reason) {
  const char* value = std::getenv(variable);
  if (IsAbsolute(value)) {
    folder = WithSlash(value);
    return true;
  }
  std::string home;
  if (!HomeFolder(home, reason)) return false;
  folder = WithSlash(home) + underHome + "/";
  return true;
}

}  // namespace

std::string WithSlash(std::string folder) {
  if (folder.empty()) return "./";
  if (folder.back() != '/') folder += '/';
  return folder;
}

bool IsWritableFolder(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

bool ConfigBaseFolder(std::string& folder, std::string& reason) {
  return BaseFolder(kConfigHomeVariable, kConfigHomeDefault, folder, reason);
}

bool StateBaseFolder(std::string& folder, std::string& reason) {
  return BaseFolder(kStateHomeVariable, kStateHomeDefault, folder, reason);
}

// mkdir -p, each missing part made private.
bool MakeFolder(const std::string& folder, std::string& reason) {
  for (size_t end = folder.find('/', 1); end != std::string::npos; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (::mkdir(part.c_str(), kFolderMode) == 0) continue;
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && ::stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    reason = "cannot make the folder " + part + ": " + std::strerror(error == EEXIST ? ENOTDIR : error);
    return false;
  }
  return true;
}

// Written under a name of its own and then linked into place, so that a second instance
// starting at the same moment never sees half a file, and an existing file is never
// replaced.
bool CreateFileOnce(const std::string& target, std::string_view content, std::string& reason) {
  if (::access(target.c_str(), F_OK) == 0) return true;
  const std::string temporary = target + ".new-" + std::to_string(::getpid());
  std::string systemReason;
  if (WriteFileAtomically(temporary, content.data(), content.size(), systemReason) &&
      ::link(temporary.c_str(), target.c_str()) != 0 && errno != EEXIST)
    systemReason = std::strerror(errno);
  ::unlink(temporary.c_str());  // gone either way; a failure leaves nothing to remove
  if (systemReason.empty()) return true;
  reason = "cannot create " + target + ": " + systemReason;
  return false;
}

}  // namespace printset::platform

namespace printset {

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return "./";
  return platform::WithSlash(program.parent_path().string());
}

}  // namespace printset
