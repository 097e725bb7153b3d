// The [LOGO] and [CODEPAGE] sections of "config.ini".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileFile.h"

namespace printset {

// The command code of download blocks when none is configured or given: the logo set's
// and the front end's "download" default.
constexpr uint16_t kDefaultDownloadCommand = 45;

// How a picture's colours become dots: blue below the threshold (Classic), luma below it
// (Luma), or luma dithered by error diffusion (FloydSteinberg, Atkinson) or an 8 x 8
// Bayer matrix (Ordered).
enum class TDotRule { Classic, Luma, FloydSteinberg, Atkinson, Ordered };

constexpr TDotRule kDotRules[] = {TDotRule::Classic, TDotRule::Luma, TDotRule::FloydSteinberg,
                                  TDotRule::Atkinson, TDotRule::Ordered};
constexpr int32_t kDefaultDotThreshold = 128;
constexpr int32_t kMinDotThreshold = 1;
constexpr int32_t kMaxDotThreshold = 255;

// The rule's name as DOTS= and --dots spell it: "classic", "luma", "floyd-steinberg",
// "atkinson" or "ordered". Never fails.
const char* DotRuleName(TDotRule rule);
// The rule a name stands for, ASCII letter case aside; false, `rule` unchanged, for any
// other text.
bool ParseDotRule(std::string_view name, TDotRule& rule);

struct TLogoSettings {
  int32_t LogoSize = 65536;  // room for the logo set in the printer, in bytes
  int32_t LogoWidth = 384;   // widest picture accepted, in dots
  int32_t LogoQuantity = 8;  // "ADD" stays enabled while the list holds at most this many
  int32_t LogoCommand = kDefaultDownloadCommand;  // command code of every download block of the set
  int32_t LogoPara = 0;      // printer address the set is written to
  TDotRule Dots = TDotRule::Classic;          // DOTS=
  int32_t Threshold = kDefaultDotThreshold;  // THRESHOLD=, kMinDotThreshold to kMaxDotThreshold
};

// Missing keys and values that are not integers give the defaults above; so do a DOTS
// that names no rule and a THRESHOLD outside 1 to 255.
TLogoSettings ReadLogoSettings(const TProfileFile& file);

// Writes all seven keys, the numbers in decimal and DOTS by name. The order SIZE,
// QUANTITY, COMMAND, PARA, WIDTH, DOTS, THRESHOLD is deliberate: it is the order in which
// a new file lists them. False when the file cannot be written (TProfileFile::LastError
// tells why).
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
