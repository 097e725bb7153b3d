// The Windows side of the program's folders: %APPDATA% and %LOCALAPPDATA%.
#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/FileIo.h"
#include "settings/AppPaths.h"
#include "settings/AppPathsPlatform.h"

namespace printset::platform {

namespace {

namespace fs = std::filesystem;

// The per-user folders: settings roam with the user, traces and logo.bin stay on the machine.
constexpr const char* kConfigBaseVariable = "APPDATA";
constexpr const char* kStateBaseVariable = "LOCALAPPDATA";
// A probe file name for the writability test of the program folder.
constexpr const char* kProbeName = ".printset-write-test";

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool BaseFolder(const char* variable, std::string& folder, std::string& reason) {
  const char* value = std::getenv(variable);
  if (value == nullptr || !fs::path(value).is_absolute()) {
    reason = std::string("no per-user folder: %") + variable + "% names none";
    return false;
  }
  folder = WithSlash(fs::path(value).generic_string());  // one kind of separator throughout
  return true;
}

}  // namespace

std::string WithSlash(std::string folder) {
  if (folder.empty()) return "./";
  if (!IsSeparator(folder.back())) folder += '/';
  return folder;
}

// Windows has no access(W_OK) that means anything for folders: try to make a file.
bool IsWritableFolder(const std::string& folder) {
  const std::string probe = folder + kProbeName;
  const HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;  // someone else's probe
  return ::CloseHandle(file) != 0;
}

bool ConfigBaseFolder(std::string& folder, std::string& reason) { return BaseFolder(kConfigBaseVariable, folder, reason); }

bool StateBaseFolder(std::string& folder, std::string& reason) { return BaseFolder(kStateBaseVariable, folder, reason); }

bool MakeFolder(const std::string& folder, std::string& reason) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    reason = "cannot make the folder " + folder + ": " + error.message();
    return false;
  }
  if (!fs::is_directory(folder, error)) {
    reason = "cannot make the folder " + folder + ": a file of that name is in the way";
    return false;
  }
  return true;
}

// Written under a name of its own and then moved into place without replacing, so that
// a second instance starting at the same moment never sees half a file, and an existing
// file is never replaced.
bool CreateFileOnce(const std::string& target, std::string_view content, std::string& failure) {
  std::error_code existsError;
  if (fs::exists(target, existsError)) return true;
  const std::string temporary = target + ".new-" + std::to_string(::GetCurrentProcessId());
  std::string reason;
  if (WriteFileAtomically(temporary, content.data(), content.size(), reason) &&
      !::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = ::GetLastError();
    if (code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS)
      reason = std::error_code(static_cast<int>(code), std::system_category()).message();
  }
  std::error_code removeError;
  fs::remove(temporary, removeError);  // gone either way; a failure leaves nothing to remove
  if (reason.empty()) return true;
  failure = "cannot create " + target + ": " + reason;
  return false;
}

}  // namespace printset::platform

namespace printset {

std::string ExecutableFolder() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "./";
    if (length < buffer.size()) {
      const std::filesystem::path program(std::string(buffer.data(), length));
      if (!program.has_parent_path()) return "./";
      return platform::WithSlash(program.parent_path().generic_string());
    }
    buffer.resize(buffer.size() * 2);  // cut short: try again with more room
  }
}

}  // namespace printset
