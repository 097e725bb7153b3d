// "paths": the folders the front end uses, without a printer.
#include <cstdio>

#include "CliContext.h"
#include "CliJson.h"

namespace printset {

int RunPathsVerb(TCliContext& context) {
  const TAppPaths& paths = context.Paths;
  if (context.Options.Json) {
    TJson object = JsonObject();
    object["portable"] = paths.Portable;
    object["config_file"] = paths.ConfigFile();
    object["config_folder"] = paths.ConfigFolder;
    object["state_folder"] = paths.StateFolder;
    std::printf("%s\n", JsonLine(object).c_str());
    return 0;
  }
  std::printf("settings  %s\n", paths.ConfigFile().c_str());
  std::printf("traces    %s (debug.log, debug-PORT.log), logo.bin\n", paths.StateFolder.c_str());
  std::printf("mode      %s\n", paths.Portable ? "portable: every file in one folder" : "per-user folders");
  return 0;
}

}  // namespace printset
