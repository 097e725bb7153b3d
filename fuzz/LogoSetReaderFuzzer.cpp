// Reading packed logo sets, which `logo show` takes from any file.
//
// Property: any bytes are read without reading outside them, and either refused with a
// reason and no logo, or accepted as exactly the set they are: the count byte's number of
// logos, each header giving its bytes per row (1 to the row buffer) and whole 8-row
// bands, the logos end to end with nothing left over. An accepted set packs again, dot
// for dot, to the same bytes; its logos without a dot are exactly those whose rows are
// all blank; its picture shows every dot where it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "logo/DotlessLogos.h"
#include "logo/DotBitmap.h"
#include "logo/LogoSet.h"
#include "logo/LogoSetReader.h"

namespace printset {
namespace {

// Drawing costs a bitmap of every dot: only for sets of modest size.
constexpr int64_t kMostDotsDrawn = int64_t{1} << 20;

TPicture PictureOf(const std::vector<uint8_t>& set, const TPackedLogo& logo) {
  TPicture picture{logo.Width(), logo.Height, {}};
  picture.Pixels.reserve(static_cast<size_t>(logo.Width()) * static_cast<size_t>(logo.Height));
  for (int y = 0; y < logo.Height; ++y)
    for (int x = 0; x < logo.Width(); ++x) picture.Pixels.push_back(logo.Dot(set, x, y) ? 0x000000 : 0xFFFFFF);
  return picture;
}

bool Blank(const std::vector<uint8_t>& set, const TPackedLogo& logo) {
  const auto rows = set.begin() + static_cast<std::ptrdiff_t>(logo.RowsAt);
  return std::all_of(rows, rows + static_cast<std::ptrdiff_t>(logo.Size() - kLogoHeaderSize),
                     [](uint8_t byte) { return byte == 0; });
}

}  // namespace
}  // namespace printset

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace printset;
  const std::vector<uint8_t> set(data, data + size);
  const TLogoSetContents contents = ReadLogoSet(set);
  if (!contents.Reason.empty()) {
    Require(contents.Logos.empty());
    return 0;
  }
  Require(set.size() >= kLogoSetHeaderSize && set[0] == 0xAA && set[1] == 0xDD);
  Require(contents.Logos.size() == set[2]);
  size_t at = kLogoSetHeaderSize;
  int64_t dots = 0;
  for (const TPackedLogo& logo : contents.Logos) {
    Require(logo.RowBytes >= 1 && logo.RowBytes <= kMaxLogoRowBytes && logo.Height >= 8 && logo.Height % 8 == 0);
    Require(logo.RowsAt == at + kLogoHeaderSize);
    Require(set[at] + 256 * set[at + 1] == logo.RowBytes && (set[at + 2] + 256 * set[at + 3]) * 8 == logo.Height);
    at += static_cast<size_t>(logo.Size());
    Require(at <= set.size());
    dots += int64_t{logo.Width()} * logo.Height;
  }
  Require(at == set.size());

  // Packed again from its own dots, with room and width to spare, the set is its bytes.
  std::vector<TPicture> pictures;
  std::vector<std::string> paths;
  for (const TPackedLogo& logo : contents.Logos) {
    pictures.push_back(PictureOf(set, logo));
    paths.push_back(std::to_string(paths.size()));
  }
  const TPictureLoader load = [&](const std::string& path) -> std::optional<TPicture> {
    return pictures[std::stoul(path)];
  };
  TLogoSettings settings;
  settings.LogoSize = INT32_MAX;
  settings.LogoWidth = kMaxLogoWidth;
  settings.LogoQuantity = kMaxLogoCount;
  const TLogoSetResult packed = BuildLogoSet(paths, settings, load);
  Require(packed.Complete && packed.Bytes == set);

  const std::vector<TDotlessLogo> dotless = FindDotlessLogos(set, paths, settings, load);
  size_t next = 0;
  for (size_t i = 0; i < contents.Logos.size(); ++i) {
    if (!Blank(set, contents.Logos[i])) continue;
    Require(next < dotless.size() && dotless[next].Index == static_cast<int>(i) && !dotless[next].LumaPrints);
    ++next;
  }
  Require(next == dotless.size());

  if (contents.Logos.empty() || dots > kMostDotsDrawn) return 0;
  const TDotBitmap image = DrawLogos(set, contents.Logos);
  Require(!image.IsNull());
  int top = 0;
  for (const TPackedLogo& logo : contents.Logos) {
    for (int y = 0; y < logo.Height; ++y)
      for (int x = 0; x < image.Width; ++x)
        Require(image.Dot(x, top + y) == (x < logo.Width() && logo.Dot(set, x, y)));
    top += logo.Height + kLogoGapRows;
  }
  return 0;
}
