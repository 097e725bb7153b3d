#include "settings/LogoSettings.h"

#include "base/Text.h"

namespace printset {

namespace {
constexpr const char* kLogoSection = "LOGO";
}  // namespace

const char* DotRuleName(TDotRule rule) {
  switch (rule) {
    case TDotRule::Classic: return "classic";
    case TDotRule::Luma: return "luma";
    case TDotRule::FloydSteinberg: return "floyd-steinberg";
    case TDotRule::Atkinson: return "atkinson";
    case TDotRule::Ordered: return "ordered";
  }
  return "classic";
}

bool ParseDotRule(std::string_view name, TDotRule& rule) {
  for (const TDotRule candidate : kDotRules) {
    if (SameTextIgnoringCase(name, DotRuleName(candidate))) {
      rule = candidate;
      return true;
    }
  }
  return false;
}

TLogoSettings ReadLogoSettings(const TProfileFile& file) {
  const TLogoSettings defaults;
  TLogoSettings settings;
  settings.LogoSize = file.ReadInteger(kLogoSection, "SIZE", defaults.LogoSize);
  settings.LogoWidth = file.ReadInteger(kLogoSection, "WIDTH", defaults.LogoWidth);
  settings.LogoQuantity = file.ReadInteger(kLogoSection, "QUANTITY", defaults.LogoQuantity);
  settings.LogoCommand = file.ReadInteger(kLogoSection, "COMMAND", defaults.LogoCommand);
  settings.LogoPara = file.ReadInteger(kLogoSection, "PARA", defaults.LogoPara);
  const std::optional<std::string> dots = file.ReadString(kLogoSection, "DOTS");
  if (!dots || !ParseDotRule(*dots, settings.Dots)) settings.Dots = defaults.Dots;
  const int32_t threshold = file.ReadInteger(kLogoSection, "THRESHOLD", defaults.Threshold);
  if (threshold >= kMinDotThreshold && threshold <= kMaxDotThreshold) settings.Threshold = threshold;
  return settings;
}

bool WriteLogoSettings(TProfileFile& file, const TLogoSettings& settings) {
  return file.WriteInteger(kLogoSection, "SIZE", settings.LogoSize) &&
         file.WriteInteger(kLogoSection, "QUANTITY", settings.LogoQuantity) &&
         file.WriteInteger(kLogoSection, "COMMAND", settings.LogoCommand) &&
         file.WriteInteger(kLogoSection, "PARA", settings.LogoPara) &&
         file.WriteInteger(kLogoSection, "WIDTH", settings.LogoWidth) &&
         file.WriteString(kLogoSection, "DOTS", DotRuleName(settings.Dots)) &&
         file.WriteInteger(kLogoSection, "THRESHOLD", settings.Threshold);
}

TCodePageTable ReadCodePages(const TProfileFile& file) {
  TCodePageTable table;
  table.Names = file.ReadSectionKeys(kCodePageSection);
  if (table.Names.size() > kCodePageCapacity) table.Names.resize(kCodePageCapacity);
  for (size_t i = 0; i < table.Names.size(); ++i)
    table.Values[i] = file.ReadInteger(kCodePageSection, table.Names[i], 0);
  return table;
}

}  // namespace printset
