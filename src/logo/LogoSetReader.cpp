#include "logo/LogoSetReader.h"

#include <utility>

#include "logo/LogoSet.h"

namespace printset {

namespace {

constexpr uint8_t kFirstMarker = 0xAA;
constexpr uint8_t kSecondMarker = 0xDD;

int Le16(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | bytes[at + 1] << 8; }

TLogoSetContents Refused(std::string reason) {
  TLogoSetContents contents;
  contents.Reason = std::move(reason);
  return contents;
}

}  // namespace

int64_t TPackedLogo::Size() const { return kLogoHeaderSize + int64_t{RowBytes} * Height; }

bool TPackedLogo::Dot(const std::vector<uint8_t>& set, int x, int y) const {
  const size_t at = RowsAt + static_cast<size_t>(y) * static_cast<size_t>(RowBytes) + static_cast<size_t>(x / 8);
  return (set[at] & (0x80 >> (x % 8))) != 0;
}

TLogoSetContents ReadLogoSet(const std::vector<uint8_t>& set) {
  if (set.size() < static_cast<size_t>(kLogoSetHeaderSize))
    return Refused("shorter than the 3-byte header (" + std::to_string(set.size()) + " bytes)");
  if (set[0] != kFirstMarker || set[1] != kSecondMarker) return Refused("does not start with the marker bytes AA DD");
  const int count = set[2];
  TLogoSetContents contents;
  size_t at = kLogoSetHeaderSize;
  for (int i = 1; i <= count; ++i) {
    const std::string which = "logo " + std::to_string(i) + " of " + std::to_string(count);
    if (set.size() - at < static_cast<size_t>(kLogoHeaderSize))
      return Refused(which + ": the set ends inside its header, at byte " + std::to_string(set.size()));
    TPackedLogo logo;
    logo.RowBytes = Le16(set, at);
    logo.Height = Le16(set, at + 2) * 8;
    logo.RowsAt = at + kLogoHeaderSize;
    if (logo.RowBytes == 0 || logo.Height == 0) return Refused(which + ": no byte per row or no row");
    if (logo.RowBytes > kMaxLogoRowBytes)
      return Refused(which + ": " + std::to_string(logo.RowBytes) + " bytes per row, more than " +
                     std::to_string(kMaxLogoRowBytes));
    const auto rowsSize = static_cast<size_t>(logo.Size()) - kLogoHeaderSize;
    if (set.size() - logo.RowsAt < rowsSize)
      return Refused(which + ": " + std::to_string(logo.Height) + " rows announced, the set ends after " +
                     std::to_string((set.size() - logo.RowsAt) / static_cast<size_t>(logo.RowBytes)));
    contents.Logos.push_back(logo);
    at = logo.RowsAt + rowsSize;
  }
  if (at != set.size())
    return Refused(std::to_string(set.size() - at) + " bytes left over after the " + std::to_string(count) +
                   (count == 1 ? " logo" : " logos") + " the count announces");
  return contents;
}

TLogoSetContents ReadBuiltLogos(const TLogoSetResult& built) {
  if (built.Complete || built.FailedIndex < 0 || built.Bytes.size() < static_cast<size_t>(kLogoSetHeaderSize))
    return ReadLogoSet(built.Bytes);
  std::vector<uint8_t> held = built.Bytes;
  held[2] = static_cast<uint8_t>(built.FailedIndex);
  return ReadLogoSet(held);
}

}  // namespace printset
