// The printers this tool talks to, as they name themselves in their reply to identify.
#pragma once

#include <string>

namespace printset {

// The first 8 bytes of an accepted printer's identify reply.
inline constexpr const char* kAcceptedIdentities[] = {"PRN 7401", "PRN 74XX"};

// Whether `identity` (the first 8 bytes the printer sent) is one of kAcceptedIdentities.
inline bool IsAcceptedIdentity(const std::string& identity) {
  for (const char* accepted : kAcceptedIdentities)
    if (identity == accepted) return true;
  return false;
}

// "\"PRN 7401\", \"PRN 74XX\"", for messages.
inline std::string AcceptedIdentityList() {
  std::string list;
  for (const char* accepted : kAcceptedIdentities) list += (list.empty() ? "\"" : ", \"") + std::string(accepted) + "\"";
  return list;
}

}  // namespace printset
