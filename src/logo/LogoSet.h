// Packing pictures into the logo set the printer keeps in its non-volatile memory.
//
// Set:  0xAA 0xDD, the number of logos (one byte), then the logos in list order.
// Logo: B = bytes per row and H/8 = height in units of 8 rows (16 bits each, low byte
//       first), then H rows of B bytes: T blank rows, the picture's rows from the top,
//       U blank rows. The leftmost dot of a byte is its bit 0x80; a 1 prints. Which
//       pixels print is the dot rule's choice (DotRules.h).
// Pictures narrower than a whole byte or shorter than a whole 8-row band are centred;
// an odd blank dot goes to the right, an odd blank row to the bottom.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/LogoSettings.h"

namespace printset {

// A picture as plain data: Width × Height colours, row-major from the top row, each
// colour as 0x00BBGGRR (blue × 65536 + green × 256 + red).
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
};

constexpr int kLogoSetHeaderSize = 3;
constexpr int kLogoHeaderSize = 4;
constexpr int kMaxLogoCount = 255;       // the count is one byte
constexpr int kMaxLogoRowBytes = 2048;   // the printer's row buffer
constexpr int kMaxLogoWidth = kMaxLogoRowBytes * 8;
constexpr int kMaxLogoHeight = 65535 * 8;  // H/8 is 16 bits

enum class TLogoFailure {
  None,
  MissingFile,     // no file at a listed path
  PictureInvalid,  // unreadable, empty, too wide or too tall
  NoRoom,          // the logo would take the set past LogoSize
  TooManyLogos,    // more entries than the one-byte count can announce
};

// "ERROR" or "Picture invalid", the operator's message for a failure.
const char* LogoFailureMessage(TLogoFailure failure);
// Why, in a few words, e.g. "no such file"; empty for None.
const char* LogoFailureReason(TLogoFailure failure);

// Bytes holds the set when Complete. After a failure it holds what was built before the
// failing entry (FailedIndex): its count announces logos it does not hold, so it must
// never be sent or saved; it serves only for the space display.
struct TLogoSetResult {
  std::vector<uint8_t> Bytes;
  bool Complete = false;
  TLogoFailure Failure = TLogoFailure::None;
  int FailedIndex = -1;
};

// std::nullopt when no file exists at the path; a TPicture of Width 0 when the file
// exists but cannot be read as a picture.
using TPictureLoader = std::function<std::optional<TPicture>(const std::string& path)>;

TLogoSetResult BuildLogoSet(const std::vector<std::string>& paths, const TLogoSettings& settings,
                            const TPictureLoader& load);

// Appends one logo to a set under construction, its dots by settings.Dots and
// settings.Threshold (see DotRules.h), or leaves the set as it was and tells why not.
// LogoWidth counts as at most kMaxLogoWidth.
TLogoFailure AppendLogo(std::vector<uint8_t>& set, const TPicture& picture,
                        const TLogoSettings& settings);

// The most entries a logo list may hold: LogoQuantity + 1, never more than the count
// byte can announce, and 0 for a negative LogoQuantity.
int MaxLogoEntries(const TLogoSettings& settings);

// Whether "ADD" may take one more entry into a list of `count`: fewer than MaxLogoEntries.
bool CanAddLogo(int count, const TLogoSettings& settings);

// "SPACE: %d,%03d Used, %d,%03d Free" with thousands and units of the bytes used and of
// logoSize - used, both parts truncated toward zero (a negative amount gives both parts
// a minus sign, and the units part always shows three digits).
std::string FormatLogoSpace(int64_t used, int64_t logoSize);

}  // namespace printset
