// The [LOGO] and [CODEPAGE] sections of "config.ini".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/ProfileFile.h"

namespace printset {

// The command code of download blocks when none is configured or given: the logo set's
// and the front end's "download" default.
constexpr uint16_t kDefaultDownloadCommand = 45;

struct TLogoSettings {
  int32_t LogoSize = 65536;  // room for the logo set in the printer, in bytes
  int32_t LogoWidth = 384;   // widest picture accepted, in dots
  int32_t LogoQuantity = 8;  // "ADD" stays enabled while the list holds at most this many
  int32_t LogoCommand = kDefaultDownloadCommand;  // command code of every download block of the set
  int32_t LogoPara = 0;      // printer address the set is written to
};

// Missing keys and values that are not integers give the defaults above.
TLogoSettings ReadLogoSettings(const TProfileFile& file);

// Writes all five keys as decimal numbers. The order SIZE, QUANTITY, COMMAND, PARA,
// WIDTH is deliberate: it is the order in which a new file lists them. False when the
// file cannot be written (TProfileFile::LastError tells why).
bool WriteLogoSettings(TProfileFile& file, const TLogoSettings& settings);

constexpr size_t kCodePageCapacity = 1024;
inline constexpr const char* kCodePageSection = "CODEPAGE";

// Names as the code page box shows them, in file order; Values[i] belongs to Names[i]
// and is 0 where the file's value is not an integer or no name fills the entry. Keys
// past the 1024th are left out of both.
struct TCodePageTable {
  std::vector<std::string> Names;
  std::array<int32_t, kCodePageCapacity> Values{};
};

// The names and values of [CODEPAGE], in file order, at most kCodePageCapacity. Never fails.
TCodePageTable ReadCodePages(const TProfileFile& file);

}  // namespace printset
