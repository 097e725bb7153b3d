// `cmake --install` into a temporary prefix: every file where desktops, man and bash look
// for it, the installed programs run from there, and the sample settings file reads back
// as documented and drives the installed printset-cli against the simulated printer.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "printset/Version.h"
#include "settings/LinkSettings.h"
#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"
#include "sim/SimPrinter.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

struct TRun {
  int Status = -1;
  std::string Output;  // stdout and stderr together
};

TRun Shell(const std::string& command) {
  TRun run;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.Output.append(chunk, n);
  const int status = ::pclose(pipe);
  run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

bool HaveProgram(const std::string& name) { return Shell("command -v " + name).Status == 0; }

// The value of `key=` in a desktop entry, empty when missing.
std::string DesktopValue(const std::string& text, const std::string& key) {
  const size_t at = text.find("\n" + key + "=");
  if (at == std::string::npos) return "";
  const size_t begin = at + key.size() + 2;
  return text.substr(begin, text.find('\n', begin) - begin);
}

class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Prefix = Dir.Path() + "/prefix";
    const TRun install = Shell(std::string("'") + PRINTSET_CMAKE + "' --install '" + PRINTSET_BUILD_DIR +
                             "' --prefix '" + Prefix + "'");
    ASSERT_EQ(install.Status, 0) << install.Output;
  }

  std::string Installed(const std::string& path) const { return Prefix + "/" + path; }

  TTempDir Dir;
  std::string Prefix;
};

TEST_F(InstallTest, EveryFileInItsPlaceAndTheProgramsRun) {
  const std::string source = std::string(PRINTSET_SOURCE_DIR) + "/packaging/";
  struct TFileRow {
    const char* Path;
    const char* Source;  // the file it is a copy of
  };
  const std::vector<TFileRow> files = {
      {"share/applications/printset.desktop", "printset.desktop"},
      {"share/icons/hicolor/scalable/apps/printset.svg", "printset.svg"},
      {"share/metainfo/io.github.printset.printset.metainfo.xml", "io.github.printset.printset.metainfo.xml"},
      {"share/bash-completion/completions/printset-cli", "printset-cli.bash-completion"},
      {"share/printset/config.ini", "config.ini"},
      {"share/doc/printset/copyright", "copyright"},
  };
  for (const TFileRow& row : files) {
    ASSERT_TRUE(std::filesystem::is_regular_file(Installed(row.Path))) << row.Path;
    EXPECT_EQ(ReadTextFile(Installed(row.Path)), ReadTextFile(source + row.Source)) << row.Path;
  }

  for (const std::string program : {"printset", "printset-cli", "printer-sim"}) {
    SCOPED_TRACE(program);
    const std::string binary = Installed("bin/" + program);
    struct stat status{};
    ASSERT_EQ(::stat(binary.c_str(), &status), 0);
    EXPECT_NE(status.st_mode & S_IXOTH, 0u) << "runnable by everyone";
    const TRun version = Shell("'" + binary + "' --version");
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Output, VersionLine(program));

    if (PRINTSET_MAN_PAGES) {
      const TRun page = Shell("gzip -dc '" + Installed("share/man/man1/" + program + ".1.gz") + "'");
      ASSERT_EQ(page.Status, 0) << page.Output;
      std::string title = program;
      for (char& c : title) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_NE(page.Output.find(".TH " + title + " \"1\""), std::string::npos) << page.Output;
      const std::string versionLine = VersionLine(program);
      EXPECT_NE(page.Output.find(versionLine.substr(0, versionLine.size() - 1)), std::string::npos);
      EXPECT_NE(page.Output.find(".SH \"SEE ALSO\""), std::string::npos) << "the page's include file is used";
      // The synopsis: one verb a line.
      if (program == "printset-cli") {
        for (const char* verb : {"set", "program", "download", "logo pack", "logo download", "codepages", "ports", "paths"})
          EXPECT_NE(page.Output.find(std::string(".br\n.B printset-cli\n\\fI\\,") + verb), std::string::npos) << verb;
      }
    }
  }

  // The changelog, compressed, begins with this version's entry.
  const TRun changelog = Shell("gzip -dc '" + Installed("share/doc/printset/changelog.gz") + "'");
  EXPECT_EQ(changelog.Status, 0) << changelog.Output;
  EXPECT_EQ(changelog.Output.rfind(std::string("printset (") + kVersion + ") ", 0), 0u)
      << changelog.Output;

  // The menu entry starts the installed window and finds the installed icon.
  const std::string desktop = ReadTextFile(Installed("share/applications/printset.desktop"));
  EXPECT_TRUE(std::filesystem::exists(Installed("bin/" + DesktopValue(desktop, "Exec"))));
  EXPECT_TRUE(std::filesystem::exists(
      Installed("share/icons/hicolor/scalable/apps/" + DesktopValue(desktop, "Icon") + ".svg")));

  // bash loads completions by command name, and the file must register for that name.
  const TRun completion =
      Shell("bash -c \"source '" + Installed("share/bash-completion/completions/printset-cli") +
          "' && complete -p printset-cli\"");
  EXPECT_EQ(completion.Status, 0) << completion.Output;
  EXPECT_NE(completion.Output.find("-F _printset_cli printset-cli"), std::string::npos) << completion.Output;

  if (HaveProgram("desktop-file-validate")) {
    const TRun check = Shell("desktop-file-validate '" + Installed("share/applications/printset.desktop") + "'");
    EXPECT_EQ(check.Status, 0) << check.Output;
  }
  if (HaveProgram("appstreamcli")) {
    const TRun check =
        Shell("appstreamcli validate --no-net '" + Installed("share/metainfo/io.github.printset.printset.metainfo.xml") + "'");
    EXPECT_EQ(check.Status, 0) << check.Output;
  }
}

// `make uninstall` runs the build's uninstall script: it removes every file of the last
// install and the folders the install made, and keeps what was there before.
TEST_F(InstallTest, UninstallLeavesThePrefixAsItWas) {
  const auto contents = [](const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
      paths.push_back(std::filesystem::relative(entry.path(), root).string());
    std::sort(paths.begin(), paths.end());
    return paths;
  };
  const std::string uninstall = std::string("'") + PRINTSET_CMAKE + "' -DBUILD_DIR='" + PRINTSET_BUILD_DIR + "' -P '" +
                                PRINTSET_SOURCE_DIR + "/cmake/Uninstall.cmake'";
  ASSERT_TRUE(std::filesystem::exists(Installed("bin/printset-cli")));
  const TRun removed = Shell(uninstall);
  EXPECT_EQ(removed.Status, 0) << removed.Output;
  EXPECT_EQ(contents(Prefix), std::vector<std::string>{}) << "installed into a prefix that was not there";

  // Folders that were there before stay, with what they hold; an empty one too.
  const std::string shared = Dir.Path() + "/shared";
  std::filesystem::create_directories(shared + "/bin");
  std::filesystem::create_directories(shared + "/share/doc/other");
  WriteTextFile(shared + "/share/doc/other/README", "not ours\n");
  const std::vector<std::string> before = contents(shared);
  const TRun install = Shell(std::string("'") + PRINTSET_CMAKE + "' --install '" + PRINTSET_BUILD_DIR + "' --prefix '" +
                             shared + "'");
  ASSERT_EQ(install.Status, 0) << install.Output;
  ASSERT_TRUE(std::filesystem::exists(shared + "/share/doc/printset/copyright"));
  const TRun removedAgain = Shell(uninstall);
  EXPECT_EQ(removedAgain.Status, 0) << removedAgain.Output;
  EXPECT_EQ(contents(shared), before);
}

TEST_F(InstallTest, SampleSettingsReadBackAndDriveTheInstalledCli) {
  const std::string sample = Installed("share/printset/config.ini");
  const TProfileFile profile(sample);

  const TLogoSettings logo = ReadLogoSettings(profile);
  EXPECT_EQ(logo.LogoSize, 262144);
  EXPECT_EQ(logo.LogoWidth, 576);
  EXPECT_EQ(logo.LogoQuantity, 10);
  EXPECT_EQ(logo.LogoCommand, 45);
  EXPECT_EQ(logo.LogoPara, 0);

  // Commented-out lines must not show up as entries.
  const TCodePageTable codePages = ReadCodePages(profile);
  const std::vector<std::pair<std::string, int32_t>> expected = {
      {"PC437 (USA)", 0},         {"Katakana", 1},           {"PC850 (Multilingual)", 2},
      {"PC860 (Portuguese)", 3},  {"PC863 (Canadian-French)", 4}, {"PC865 (Nordic)", 5},
      {"WPC1252 (Latin 1)", 16},  {"PC866 (Cyrillic #2)", 17}, {"PC852 (Latin 2)", 18},
      {"PC858 (Euro)", 19}};
  ASSERT_EQ(codePages.Names.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(codePages.Names[i], expected[i].first);
    EXPECT_EQ(codePages.Values[i], expected[i].second) << expected[i].first;
  }

  const TLinkSettings link = ReadLinkSettings(profile);
  EXPECT_EQ(link.PortMap, (TPortMap{{"COM3", "/dev/ttyUSB0"}, {"COM4", "/dev/ttyACM0"}}));
  EXPECT_EQ(link.NetworkHost, "") << "the sample's HOST is only an example, commented out";
  EXPECT_EQ(link.NetworkPort, 9100);

  // The sample, copied into a program folder, chooses a code page by the name it lists.
  TSimPrinter sim;
  ASSERT_TRUE(sim.StartPty()) << sim.LastError();
  const std::string folder = Dir.Path() + "/folder";
  std::filesystem::create_directory(folder);
  std::filesystem::copy_file(sample, folder + "/config.ini");
  const TRun set = Shell("'" + Installed("bin/printset-cli") + "' --folder '" + folder + "' --port " +
                       sim.DevicePath() + " set --new-baud 9600 --codepage 'PC858 (Euro)' --string 261207");
  sim.Stop();
  EXPECT_EQ(set.Status, 0) << set.Output;
  EXPECT_EQ(set.Output, "OK\n");
  EXPECT_EQ(sim.ParameterBlock(), (std::vector<uint8_t>{0x00, 0x00, 0x25, 0x80, 19, 0x26, 0x12, 0x07}));
}

// The group that owns `path`, by name, as the permission hint must name it.
std::string GroupOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return "?";
  const group* found = ::getgrgid(info.st_gid);
  return found ? found->gr_name : std::to_string(info.st_gid);
}

// The installed printset-cli run as someone who cannot write its folder: as root, the user
// nobody; otherwise this user, with bin/ made read-only. The files must land in the
// per-user folders, config.ini made there from the installed sample. With a config.ini
// beside the program in a folder the user can write, everything stays in that folder.
TEST_F(InstallTest, PerUserFoldersWhereTheProgramFolderIsNotWritableAndPortableModeWhereItIs) {
  const bool root = ::geteuid() == 0;
  const std::string bin = Installed("bin/");
  const std::string sample = ReadTextFile(Installed("share/printset/config.ini"));
  // Everything the other user needs must be reachable: the temporary folder is private.
  std::filesystem::permissions(Dir.Path(), std::filesystem::perms::others_exec | std::filesystem::perms::group_exec,
                               std::filesystem::perm_options::add);
  const std::string picture = Dir.File("a.bmp");
  TPicture black{16, 8, std::vector<uint32_t>(16 * 8, 0)};
  WriteTextFile(picture, EncodeBmp(black, {}));

  struct TCase {
    const char* Name;
    bool ConfigBesideProgram;
    bool ProgramFolderWritable;
    bool XdgVariables;  // else only HOME, and the folders under it
    bool PortOpenToUser;
  };
  const TCase cases[] = {
      {"XDG_CONFIG_HOME and XDG_STATE_HOME", false, false, true, true},
      {"HOME alone", false, false, false, true},
      {"config.ini beside the program, in a folder the user cannot write", true, false, true, true},
      {"a port the user may not open", false, false, true, false},
      {"portable", true, true, false, true},
  };
  const std::string besideProgram = "[LOGO]\nCOMMAND=50\n";
  int row = 0;
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const bool portable = c.ConfigBesideProgram && c.ProgramFolderWritable;
    const std::string home = Dir.File("home" + std::to_string(++row));
    std::filesystem::create_directory(home);
    std::string user;  // the command's prefix that makes it another user's
    if (root && !c.ProgramFolderWritable) {
      ASSERT_EQ(::chown(home.c_str(), 65534, 65534), 0);
      user = "setpriv --reuid=65534 --regid=65534 --clear-groups -- ";
    }
    if (c.ConfigBesideProgram) WriteTextFile(bin + "config.ini", besideProgram);

    TSimPrinter sim;
    ASSERT_TRUE(sim.StartPty()) << sim.LastError();
    const std::string device = sim.DevicePath();  // kept: Stop forgets it
    const std::string deviceGroup = GroupOf(device);
    ASSERT_EQ(::chmod(device.c_str(), c.PortOpenToUser ? 0666 : root ? 0600 : 0), 0);
    std::string environment = "env -i PATH=/usr/bin:/bin HOME='" + home + "'";
    if (c.XdgVariables) environment += " XDG_CONFIG_HOME='" + home + "/cfg' XDG_STATE_HOME='" + home + "/state'";
    std::filesystem::permissions(bin, c.ProgramFolderWritable || root ? std::filesystem::perms(0755)
                                                                       : std::filesystem::perms(0555));
    const TRun run = Shell(user + environment + " '" + bin + "printset-cli' --port " + device + " logo download '" +
                           picture + "'");
    sim.Stop();
    std::filesystem::permissions(bin, std::filesystem::perms(0755));

    const std::string configFolder = portable ? bin : home + (c.XdgVariables ? "/cfg" : "/.config") + "/printset/";
    const std::string stateFolder = portable ? bin : home + (c.XdgVariables ? "/state" : "/.local/state") + "/printset/";
    EXPECT_EQ(ReadTextFile(configFolder + "config.ini"), portable ? besideProgram : sample);
    EXPECT_TRUE(std::filesystem::is_regular_file(stateFolder + "debug.log"));
    if (c.PortOpenToUser) {
      EXPECT_EQ(run.Status, 0) << run.Output;
      const std::string set = ReadTextFile(stateFolder + "logo.bin");
      ASSERT_EQ(set.size(), 3u + 4 + 16);
      EXPECT_EQ(sim.DownloadRange(0, set.size()), std::vector<uint8_t>(set.begin(), set.end()));
      EXPECT_EQ(sim.DownloadCommand(), portable ? 50 : 45) << "[LOGO] of the config.ini in use";
    } else {
      EXPECT_EQ(run.Status, 1) << run.Output;
      EXPECT_NE(run.Output.find(device + ": Permission denied"), std::string::npos) << run.Output;
      EXPECT_NE(run.Output.find("(add your user to the group '" + deviceGroup + "' that owns " + device +
                                " and log in again)"),
                std::string::npos)
          << run.Output;
    }
    if (!portable) {
      for (const char* name : {"debug.log", "logo.bin"}) EXPECT_FALSE(std::filesystem::exists(bin + name)) << name;
      EXPECT_EQ(std::filesystem::exists(bin + "config.ini"), c.ConfigBesideProgram);
    }
    std::filesystem::remove(bin + "config.ini");
    std::filesystem::remove(bin + "debug.log");
    std::filesystem::remove(bin + "logo.bin");
  }
}

}  // namespace
}  // namespace printset
