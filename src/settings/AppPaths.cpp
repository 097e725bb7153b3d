// Which folders hold config.ini, debug.log and logo.bin: the same choice on every system.
#include "settings/AppPaths.h"

#include "base/FileIo.h"
#include "settings/AppPathsPlatform.h"
#include "settings/SampleConfig.h"

// The installed data folder relative to the installed programs; the build sets it from
// its install layout.
#ifndef PRINTSET_DATA_FROM_BIN
#define PRINTSET_DATA_FROM_BIN "../share/printset/"
#endif

namespace printset {

namespace {

constexpr const char* kDataFolderFromProgram = PRINTSET_DATA_FROM_BIN;

}  // namespace

TAppPaths ResolveAppPaths(const std::string& executableFolder, const std::string& folderOption) {
  using namespace platform;
  TAppPaths paths;
  if (!folderOption.empty()) {
    paths.Portable = true;
    paths.ConfigFolder = paths.StateFolder = WithSlash(folderOption);
    return paths;
  }
  const std::string programFolder = WithSlash(executableFolder);
  if (IsRegularFile(programFolder + kConfigFileName) && IsWritableFolder(programFolder)) {
    paths.Portable = true;
    paths.ConfigFolder = paths.StateFolder = programFolder;
    return paths;
  }
  paths.ConfigFolder = ConfigBaseFolder() + kAppFolderName + "/";
  paths.StateFolder = StateBaseFolder() + kAppFolderName + "/";
  MakeFolder(paths.ConfigFolder);
  MakeFolder(paths.StateFolder);
  CreateFileOnce(paths.ConfigFile(), SampleConfigText());
  return paths;
}

std::string FindProgramFile(const TAppPaths& paths, const std::string& executableFolder, const std::string& name) {
  const std::string programFolder = platform::WithSlash(executableFolder);
  for (const std::string& folder : {paths.ConfigFolder, programFolder, programFolder + kDataFolderFromProgram}) {
    if (IsRegularFile(folder + name)) return folder + name;
  }
  return {};
}

}  // namespace printset
