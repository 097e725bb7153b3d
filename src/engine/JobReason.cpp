#include "engine/JobReason.h"

#include <cstdio>

#include "engine/ResultCodes.h"

namespace printset {

namespace {

constexpr const char* kPermissionDenied = "Permission denied";

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

}  // namespace

std::string JobFailureReason(const TCommThread& thread, const std::string& deviceName) {
  const uint8_t code = thread.ResultCode;
  if (code == kResultOk) return {};
  std::string reason = std::string(ResultCodeMeaning(code)) + " (result code " + std::to_string(code) + ")";
  if (code == kResultPortNotOpened && !thread.OpenError.empty()) {
    reason += "\n" + deviceName + ": " + thread.OpenError;
    if (thread.OpenError == kPermissionDenied)
      reason += "\n(add your user to the group that owns " + deviceName + ", usually 'dialout', and log in again)";
  }
  if (code == kResultIdentityRejected)
    reason += "\nthe printer answered as \"" + PrintableText(thread.DeviceIdentity) + "\"";
  if (code == kResultJobError && !thread.TraceLog.GetLines().empty()) reason += "\n" + thread.TraceLog.GetLines().back();
  return reason;
}

}  // namespace printset
