#include "engine/JobReason.h"

#ifndef _WIN32
#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "engine/ResultCodes.h"
#include "link/PortNames.h"

namespace printset {

namespace {

// `bytes` with every byte outside printable ASCII, and the backslash, written as \xNN.
std::string PrintableText(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      text += c;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      text += escaped;
    }
  }
  return text;
}

#ifndef _WIN32
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
#else
// Windows names no groups for a port, and has no ModemManager.
std::string OpenFailureHint(const std::string&, const std::string&) { return {}; }
#endif

}  // namespace

std::string JobFailureReason(const TJobOutcome& outcome, const std::string& deviceName) {
  const uint8_t code = outcome.ResultCode;
  if (code == kResultOk) return {};
  std::string reason = std::string(ResultCodeMeaning(code)) + " (result code " + std::to_string(code) + ")";
  if (code == kResultPortNotOpened && !outcome.OpenError.empty()) {
    reason += "\n" + PrintablePortName(deviceName) + ": " + outcome.OpenError +
              OpenFailureHint(deviceName, outcome.OpenError);
  }
  if (code == kResultIdentityRejected)
    reason += "\nthe printer answered as \"" + PrintableText(outcome.DeviceIdentity) + "\"";
  // The last trace line may quote operator text (a host that did not resolve).
  if (code == kResultJobError && !outcome.LastTraceLine.empty())
    reason += "\n" + PrintablePortName(outcome.LastTraceLine);
  if (outcome.FirmwareIncomplete) reason += "\n" + IncompleteFirmwareText(outcome);
  return reason;
}

std::string IncompleteFirmwareText(const TJobOutcome& outcome) {
  return "the printer's firmware is incomplete (" + std::to_string(outcome.BytesAcknowledged) + " of " +
         std::to_string(outcome.BytesToSend) + " bytes acknowledged): program the image again";
}

}  // namespace printset
