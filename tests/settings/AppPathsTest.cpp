#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "settings/AppPaths.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

// Sets or clears an environment variable for one scope.
class TEnvironmentValue {
 public:
  TEnvironmentValue(const char* name, const std::optional<std::string>& value) : Name(name) {
    if (const char* old = std::getenv(name)) Old = old;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
  }
  ~TEnvironmentValue() {
    if (Old) ::setenv(Name, Old->c_str(), 1);
    else ::unsetenv(Name);
  }
  TEnvironmentValue(const TEnvironmentValue&) = delete;
  TEnvironmentValue& operator=(const TEnvironmentValue&) = delete;

 private:
  const char* Name;
  std::optional<std::string> Old;
};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

// An installed layout in a folder of its own: <root>/bin/ holds the program,
// <root>/share/printset/config.ini an installed sample, which a new per-user config.ini
// does not copy: it is made from the sample built into the program; HOME is <root>/home.
TEST(AppPaths, FolderOptionPortableModeAndPerUserFolders) {
  const std::string kSample = ReadTextFile(std::string(PRINTSET_SOURCE_DIR) + "/packaging/config.ini");
  ASSERT_NE(kSample.find("\n[CODEPAGE]\n"), std::string::npos);
  struct TCase {
    const char* Name;
    const char* FolderOption;  // relative to the root, "" for none
    std::optional<std::string> ConfigHome, StateHome;  // relative values stay relative
    std::function<void(const std::string& root)> Prepare;
    bool Portable;
    const char* ConfigFolder;  // relative to the root; where config.ini must be
    const char* StateFolder;
    const char* ConfigText;    // what config.ini holds afterwards; nullptr: no such file
  };
  const auto besideProgram = [](const std::string& root) { WriteTextFile(root + "/bin/config.ini", "[X]\n"); };
  const auto userFileThere = [](const std::string& root) {
    std::filesystem::create_directories(root + "/cfg/printset");
    std::filesystem::permissions(root + "/cfg/printset", std::filesystem::perms::owner_all);
    WriteTextFile(root + "/cfg/printset/config.ini", "[MINE]\n");
  };
  // As in a build folder: nothing installed beside the program.
  const auto noSample = [](const std::string& root) { std::filesystem::remove_all(root + "/share"); };
  const TCase cases[] = {
      {"--folder, even beside a config.ini", "mine", std::nullopt, std::nullopt, besideProgram, true, "mine/",
       "mine/", nullptr},
      {"portable", "", "/unused", "/unused", besideProgram, true, "bin/", "bin/", "[X]\n"},
      {"XDG folders, the sample copied", "", "@/cfg", "@/st", nullptr, false, "cfg/printset/", "st/printset/",
       kSample.c_str()},
      {"relative XDG values ignored", "", "cfg", "st", nullptr, false, "home/.config/printset/",
       "home/.local/state/printset/", kSample.c_str()},
      {"XDG unset", "", std::nullopt, std::nullopt, nullptr, false, "home/.config/printset/",
       "home/.local/state/printset/", kSample.c_str()},
      {"the user's config.ini kept", "", "@/cfg", "@/st", userFileThere, false, "cfg/printset/", "st/printset/",
       "[MINE]\n"},
      {"nothing installed beside the program", "", "@/cfg", "@/st", noSample, false, "cfg/printset/", "st/printset/",
       kSample.c_str()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempDir dir;
    const std::string root = dir.Path();
    const auto absolute = [&](const std::optional<std::string>& value) -> std::optional<std::string> {
      if (value && value->rfind("@", 0) == 0) return root + value->substr(1);
      return value;
    };
    std::filesystem::create_directories(root + "/bin");
    std::filesystem::create_directories(root + "/share/printset");
    WriteTextFile(root + "/share/printset/config.ini", "[LOGO]\nSIZE=4096\n");
    if (c.Prepare) c.Prepare(root);
    const TEnvironmentValue home("HOME", root + "/home");
    const TEnvironmentValue configHome("XDG_CONFIG_HOME", absolute(c.ConfigHome));
    const TEnvironmentValue stateHome("XDG_STATE_HOME", absolute(c.StateHome));
    const std::string folderOption = *c.FolderOption ? root + "/" + c.FolderOption : "";

    TAppPaths paths;
    std::string reason;
    ASSERT_TRUE(ResolveAppPaths(root + "/bin", folderOption, paths, reason)) << reason;

    EXPECT_EQ(paths.Portable, c.Portable);
    EXPECT_EQ(paths.ConfigFolder, root + "/" + c.ConfigFolder);
    EXPECT_EQ(paths.StateFolder, root + "/" + c.StateFolder);
    EXPECT_EQ(paths.ConfigFile(), root + "/" + c.ConfigFolder + "config.ini");
    if (c.ConfigText) EXPECT_EQ(ReadTextFile(paths.ConfigFile()), c.ConfigText);
    else EXPECT_FALSE(std::filesystem::exists(paths.ConfigFile()));
    if (c.Portable) {
      EXPECT_FALSE(std::filesystem::exists(root + "/mine")) << "--folder is used as given, never made";
      continue;
    }
    // Made private, and holding config.ini alone: nothing is left over from the copy.
    EXPECT_EQ(ModeOf(paths.StateFolder), 0700u);
    EXPECT_EQ(ModeOf(paths.ConfigFolder), 0700u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(paths.ConfigFolder),
                            std::filesystem::directory_iterator()),
              c.ConfigText ? 1 : 0);
  }
}

TEST(AppPaths, AFolderThatCannotBeMadeIsNamedInTheError) {
  TTempDir dir;
  WriteTextFile(dir.File("plain"), "");
  const TEnvironmentValue configHome("XDG_CONFIG_HOME", dir.File("plain"));
  TAppPaths paths;
  paths.ConfigFolder = "untouched/";
  std::string reason;
  EXPECT_FALSE(ResolveAppPaths(dir.File("bin"), "", paths, reason));
  EXPECT_EQ(reason, "cannot make the folder " + dir.File("plain") + ": Not a directory");
  EXPECT_EQ(paths.ConfigFolder, "untouched/");
}

}  // namespace
}  // namespace printset
