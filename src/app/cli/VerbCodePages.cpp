// "codepages": the code page names of config.ini, and the sample's list added to a file
// that has none.
#include <cstdio>
#include <string>

#include "CliContext.h"
#include "CliJson.h"
#include "settings/LogoSettings.h"
#include "settings/SampleConfig.h"

namespace printset {

int RunCodePagesVerb(TCliContext& context) {
  TProfileFile& profile = *context.Profile;
  if (context.Options.AddCodePages) {
    std::string reason;
    if (profile.HasSection(kCodePageSection)) {
      if (!context.Options.Quiet)
        std::fprintf(stderr, "printset-cli: %s already has [CODEPAGE]; left as it is\n", profile.Path().c_str());
    } else if (!AddSampleCodePages(profile, reason)) {
      std::fprintf(stderr, "printset-cli: cannot add [CODEPAGE] to %s: %s\n", profile.Path().c_str(), reason.c_str());
      return kExitCannotCreate;
    }
  }
  const TCodePageTable table = ReadCodePages(profile);
  if (context.Options.Json) {
    TJson list = TJson::array();
    for (size_t i = 0; i < table.Names.size(); ++i) list.push_back({{"name", table.Names[i]}, {"value", table.Values[i]}});
    TJson object = JsonObject();
    object["config_file"] = profile.Path();
    object["codepages"] = list;
    std::printf("%s\n", JsonLine(object).c_str());
    return 0;
  }
  for (size_t i = 0; i < table.Names.size(); ++i) std::printf("%4d  %s\n", table.Values[i], table.Names[i].c_str());
  if (table.Names.empty() && !context.Options.Quiet)
    std::fprintf(stderr, "printset-cli: %s has no [CODEPAGE] section; printset-cli codepages --add adds the sample's\n",
                 profile.Path().c_str());
  return 0;
}

}  // namespace printset
