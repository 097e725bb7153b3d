#include "settings/LogoSettings.h"

namespace printset {

namespace {
constexpr const char* kLogoSection = "LOGO";
}  // namespace

TLogoSettings ReadLogoSettings(const TProfileFile& file) {
  const TLogoSettings defaults;
  TLogoSettings settings;
  settings.LogoSize = file.ReadInteger(kLogoSection, "SIZE", defaults.LogoSize);
  settings.LogoWidth = file.ReadInteger(kLogoSection, "WIDTH", defaults.LogoWidth);
  settings.LogoQuantity = file.ReadInteger(kLogoSection, "QUANTITY", defaults.LogoQuantity);
  settings.LogoCommand = file.ReadInteger(kLogoSection, "COMMAND", defaults.LogoCommand);
  settings.LogoPara = file.ReadInteger(kLogoSection, "PARA", defaults.LogoPara);
  return settings;
}

bool WriteLogoSettings(TProfileFile& file, const TLogoSettings& settings) {
  return file.WriteInteger(kLogoSection, "SIZE", settings.LogoSize) &&
         file.WriteInteger(kLogoSection, "QUANTITY", settings.LogoQuantity) &&
         file.WriteInteger(kLogoSection, "COMMAND", settings.LogoCommand) &&
         file.WriteInteger(kLogoSection, "PARA", settings.LogoPara) &&
         file.WriteInteger(kLogoSection, "WIDTH", settings.LogoWidth);
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
