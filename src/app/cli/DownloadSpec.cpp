#include "DownloadSpec.h"

#include <limits>

#include "base/Numbers.h"

namespace printset {

namespace {

constexpr int kMaxNumberFields = 2;

bool MeantAsNumber(const std::string& field) { return field.empty() || (field[0] >= '0' && field[0] <= '9'); }

}  // namespace

bool ParseDownloadSpec(const std::string& text, TDownloadSpec& spec, std::string& error) {
  std::string path = text;
  std::string fields[kMaxNumberFields];  // from the right: the last field first
  int count = 0;
  while (count < kMaxNumberFields) {
    const size_t colon = path.rfind(':');
    if (colon == std::string::npos || !MeantAsNumber(path.substr(colon + 1))) break;
    fields[count++] = path.substr(colon + 1);
    path.erase(colon);
  }
  if (path.empty()) {
    error = "'" + text + "' names no file before its ':'";
    return false;
  }
  // With two numbers the last is BASE; with one it is COMMAND.
  const std::string* commandText = count == 2 ? &fields[1] : count == 1 ? &fields[0] : nullptr;
  const std::string* baseText = count == 2 ? &fields[0] : nullptr;
  uint64_t command = kDefaultDownloadCommand;
  uint64_t base = 0;
  if (commandText && !ParseNumber(*commandText, std::numeric_limits<uint16_t>::max(), command)) {
    error = "'" + text + "': COMMAND '" + *commandText + "' is not a number from 0 to 0xFFFF (decimal or 0x hex)";
    return false;
  }
  if (baseText && !ParseNumber(*baseText, std::numeric_limits<uint32_t>::max(), base)) {
    error = "'" + text + "': BASE '" + *baseText + "' is not a number from 0 to 0xFFFFFFFF (decimal or 0x hex)";
    return false;
  }
  spec.Path = path;
  spec.Command = static_cast<uint16_t>(command);
  spec.Base = static_cast<uint32_t>(base);
  return true;
}

}  // namespace printset
