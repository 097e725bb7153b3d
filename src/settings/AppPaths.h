// Where the program's files live: the folder of "config.ini" and the folder of
// "debug.log" and "logo.bin", chosen once at start the same way by every front end.
#pragma once

#include <string>

namespace printset {

constexpr const char* kConfigFileName = "config.ini";
constexpr const char* kAppFolderName = "printset";  // under the per-user folders

struct TAppPaths {
  bool Portable = false;       // config.ini beside the executable in a writable folder, or --folder
  std::string ConfigFolder;    // holds config.ini; ends with '/'
  std::string StateFolder;     // debug.log and logo.bin; ends with '/'
  std::string ConfigFile() const { return ConfigFolder + kConfigFileName; }
};

// --folder (non-empty `folderOption`) puts everything there; else portable mode when config.ini stands
// beside the executable in a folder the user can write; else the per-user folders, XDG config and state
// (Windows: %APPDATA%\printset and %LOCALAPPDATA%\printset), config.ini created there from the sample built
// into the program on first run, wherever the program runs from. False, with `reason` naming the folder
// and the system's reason, when a folder cannot be made (or config.ini not created in it); `paths` is
// then unchanged.
bool ResolveAppPaths(const std::string& executableFolder, const std::string& folderOption, TAppPaths& paths,
                     std::string& reason);

// The folder of the running program, with a trailing '/'; "./" when the system will not say.
std::string ExecutableFolder();

// The first existing regular file `name` in the config folder, the program folder and the
// installed data folder, in that order (the sounds); empty when there is none.
std::string FindProgramFile(const TAppPaths& paths, const std::string& executableFolder, const std::string& name);

}  // namespace printset
