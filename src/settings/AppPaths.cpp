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

bool ResolveAppPaths(const std::string& executableFolder, const std::string& folderOption, TAppPaths& paths,
                     std::string& reason) {
  using namespace platform;
  TAppPaths chosen;
  if (!folderOption.empty()) {
    chosen.Portable = true;
    chosen.ConfigFolder = chosen.StateFolder = WithSlash(folderOption);
    paths = chosen;
    return true;
  }
  const std::string programFolder = WithSlash(executableFolder);
  if (IsRegularFile(programFolder + kConfigFileName) && IsWritableFolder(programFolder)) {
    chosen.Portable = true;
    chosen.ConfigFolder = chosen.StateFolder = programFolder;
    paths = chosen;
    return true;
  }
  std::string configBase;
  std::string stateBase;
  if (!ConfigBaseFolder(configBase, reason) || !StateBaseFolder(stateBase, reason)) return false;
  chosen.ConfigFolder = configBase + kAppFolderName + "/";
  chosen.StateFolder = stateBase + kAppFolderName + "/";
  if (!MakeFolder(chosen.ConfigFolder, reason) || !MakeFolder(chosen.StateFolder, reason) ||
      !CreateFileOnce(chosen.ConfigFile(), SampleConfigText(), reason))
    return false;
  paths = chosen;
  return true;
}

std::string FindProgramFile(const TAppPaths& paths, const std::string& executableFolder, const std::string& name) {
  const std::string programFolder = platform::WithSlash(executableFolder);
  for (const std::string& folder : {paths.ConfigFolder, programFolder, programFolder + kDataFolderFromProgram}) {
    if (IsRegularFile(folder + name)) return folder + name;
  }
  return {};
}

}  // namespace printset
