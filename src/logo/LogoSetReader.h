// Reading a packed logo set back (the layout is in LogoSet.h): strictly, so that a set
// that reads is exactly what the printer would take. Pure; no file, no Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "logo/LogoSet.h"

namespace printset {

// The largest set file read: far more than any printer's room, and a bound for a file
// that never ends.
constexpr uint64_t kMaxLogoSetFileSize = uint64_t{64} << 20;

// One logo of a set: RowBytes x 8 dots wide, Height rows, its rows starting at RowsAt.
struct TPackedLogo {
  int RowBytes = 0;
  int Height = 0;
  size_t RowsAt = 0;

  int Width() const { return RowBytes * 8; }
  // What the logo takes in the set, its 4-byte header included.
  int64_t Size() const;
  // Whether the dot at column x (0 to Width() - 1) of row y (0 to Height - 1) prints.
  bool Dot(const std::vector<uint8_t>& set, int x, int y) const;
};

struct TLogoSetContents {
  std::vector<TPackedLogo> Logos;
  std::string Reason;  // why the bytes are no set; empty when they are
};

// The logos of a packed set, in order. Refused, with Logos empty and Reason saying why:
// fewer than the three header bytes, markers other than AA DD, a logo header or a row
// missing, a logo of no byte per row or no band, a row wider than kMaxLogoRowBytes, or
// bytes left over after the last logo the count announces.
TLogoSetContents ReadLogoSet(const std::vector<uint8_t>& set);

// The logos a build holds: those of a complete set; of a set that stopped short (its
// count announces logos it does not hold), the logos before the failing entry, read as
// if the count said so. Refused as ReadLogoSet refuses. `built.Bytes` is left as it is;
// the logos' RowsAt index into it.
TLogoSetContents ReadBuiltLogos(const TLogoSetResult& built);

}  // namespace printset
