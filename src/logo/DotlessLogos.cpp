#include "logo/DotlessLogos.h"

#include <algorithm>
#include <optional>

#include "logo/DotRules.h"
#include "logo/LogoSetReader.h"

namespace printset {

namespace {

bool HasDot(const std::vector<uint8_t>& set, const TPackedLogo& logo) {
  const auto rows = set.begin() + static_cast<std::ptrdiff_t>(logo.RowsAt);
  const auto size = static_cast<std::ptrdiff_t>(logo.Size() - kLogoHeaderSize);
  return std::any_of(rows, rows + size, [](uint8_t byte) { return byte != 0; });
}

bool LumaPrints(const std::string& path, const TLogoSettings& settings, const TPictureLoader& load) {
  if (settings.Dots == TDotRule::Luma) return false;
  const std::optional<TPicture> picture = load(path);
  if (!picture) return false;
  const std::vector<uint8_t> dots = PictureDots(*picture, TDotRule::Luma, settings.Threshold);
  return std::any_of(dots.begin(), dots.end(), [](uint8_t dot) { return dot != 0; });
}

}  // namespace

std::vector<TDotlessLogo> FindDotlessLogos(const std::vector<uint8_t>& set, const std::vector<std::string>& paths,
                                           const TLogoSettings& settings, const TPictureLoader& load) {
  std::vector<TDotlessLogo> dotless;
  const TLogoSetContents contents = ReadLogoSet(set);
  for (size_t i = 0; i < contents.Logos.size(); ++i) {
    if (HasDot(set, contents.Logos[i])) continue;
    TDotlessLogo logo;
    logo.Index = static_cast<int>(i);
    logo.LumaPrints = i < paths.size() && LumaPrints(paths[i], settings, load);
    dotless.push_back(logo);
  }
  return dotless;
}

std::string DotlessLogoText(const TDotlessLogo& logo, const std::string& name, TDotRule rule) {
  std::string text = "logo " + std::to_string(logo.Index + 1) + " (" + name + ") has no dot under the " +
                     DotRuleName(rule) + " rule: nothing of it will print";
  if (logo.LumaPrints) text += "; the luma rule keeps its shapes";
  return text;
}

}  // namespace printset
