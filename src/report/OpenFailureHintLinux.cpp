// The hints for a refused serial device on Linux: the group that owns it, and ModemManager.
#include "report/OpenFailureHint.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "link/PortNames.h"

namespace printset {

namespace {

constexpr const char* kModemManagerProgram = "/usr/sbin/ModemManager";
constexpr const char* kModemManagerProcess = "ModemManager";

// The name of the group that owns `device`, its number when the group has no name, empty
// when the device cannot be examined.
std::string OwningGroup(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  std::vector<char> buffer(16384);
  group entry{};
  group* found = nullptr;
  if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
    return found->gr_name;
  return std::to_string(info.st_gid);
}

bool ModemManagerRunning() {
  DIR* processes = ::opendir("/proc");
  if (processes == nullptr) return false;
  bool running = false;
  while (const dirent* entry = ::readdir(processes)) {
    if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
    std::string name;
    std::getline(std::ifstream(std::string("/proc/") + entry->d_name + "/comm"), name);
    if (name == kModemManagerProcess) {
      running = true;
      break;
    }
  }
  ::closedir(processes);
  return running;
}

// ModemManager probes every new serial device for a modem, holding it open and writing
// AT commands to it for a while: a printer then fails to open, or gets garbage.
bool ModemManagerPresent() { return ::access(kModemManagerProgram, F_OK) == 0 || ModemManagerRunning(); }

// What to do when the system refused `device`: `error` is the reason it gave.
}  // namespace

std::string OpenFailureHint(const std::string& device, const std::string& error) {
  std::string hint;
  if (error == std::strerror(EACCES)) {
    const std::string group = OwningGroup(device);
    hint += "\n(add your user to the group " + (group.empty() ? std::string() : "'" + group + "' ") + "that owns " +
            PrintablePortName(device) + " and log in again)";
  }
  if ((error == std::strerror(EACCES) || error == std::strerror(EBUSY)) && ModemManagerPresent())
    hint += "\n(ModemManager is installed and may hold new serial devices while it probes them: wait a few "
            "seconds, or mark the adapter with the udev property ID_MM_DEVICE_IGNORE=1)";
  return hint;
}

}  // namespace printset
