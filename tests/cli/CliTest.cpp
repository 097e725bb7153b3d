// printset-cli as a script would use it: options, verbs, output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "sim/SimPrinter.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

struct TRun {
  int Status = -1;
  std::string Output;  // stdout and stderr together
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  }
  void TearDown() override {
    Sim.Stop();
  }

  TRun Cli(const std::string& arguments) {
    const std::string command = std::string(PRINTSET_CLI) + " --folder " + Folder + " " + arguments + " 2>&1";
    TRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.Output.append(chunk, n);
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }
  std::string Port() { return "--port " + Sim.DevicePath() + " "; }
  void WriteText(const std::string& name, const std::string& text) { WriteTextFile(Folder + name, text); }
  std::string WriteBytes(const std::string& name, const Bytes& bytes) {
    WriteBytesFile(Folder + name, bytes);
    return Folder + name;
  }

  TTempDir Dir;
  TSimPrinter Sim;
  std::string Folder;
};

TEST_F(CliTest, SetSendsTheBlockAndWritesTheTrace) {
  const TRun run = Cli(Port() + "set --new-baud 115200 --codepage-value 300 --string '12 45'");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(run.Output, "OK\n");
  EXPECT_EQ(Sim.ParameterBlock(), (Bytes{0x00, 0x01, 0xC2, 0x00, 0x2C, 0x12, 0x04, 0x50}));
  EXPECT_TRUE(std::filesystem::exists(Folder + "debug.log"));
}

TEST_F(CliTest, CodePagesAndPortNamesComeFromTheSettingsFile) {
  WriteText("config.ini", "[CODEPAGE]\nALPHA=3\nBETA=x\nGAMMA=0x1F\n[PORTS]\nCOM3=" + Sim.DevicePath() + "\n");
  EXPECT_EQ(Cli("--port COM3 set").Status, 0);
  EXPECT_EQ(Sim.ParameterBlock()[4], 3) << "the first code page is the default";
  EXPECT_EQ(Cli("--port COM3 set --codepage gamma").Status, 0);
  EXPECT_EQ(Sim.ParameterBlock()[4], 31);
  const TRun unknown = Cli("--port COM3 set --codepage DELTA");
  EXPECT_EQ(unknown.Status, 64);
}

TEST_F(CliTest, FailuresReportTheirMeaningAndExitWithTheResultCode) {
  const TRun missing = Cli("--port " + Folder + "ttyNone set");
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Output.find("ERROR: the port could not be opened"), std::string::npos) << missing.Output;
  EXPECT_NE(missing.Output.find("No such file or directory"), std::string::npos) << missing.Output;

  Sim.SetNoReply(0x60);
  const TRun silent = Cli(Port() + "set");
  EXPECT_EQ(silent.Status, 3);
  EXPECT_NE(silent.Output.find("no valid reply"), std::string::npos);
}

TEST_F(CliTest, UsageErrors) {
  EXPECT_EQ(Cli("frobnicate").Status, 64);
  EXPECT_EQ(Cli("").Status, 64);
  const TRun badBaud = Cli("--baud abc set");
  EXPECT_EQ(badBaud.Status, 64);
  EXPECT_NE(badBaud.Output.find("'abc' is not a valid integer value."), std::string::npos) << badBaud.Output;
  EXPECT_EQ(Cli(Port() + "set --string 12a").Status, 64);
  EXPECT_EQ(Sim.RequestCount(), 0u);
  const TRun help = Cli("--help");
  EXPECT_EQ(help.Status, 0);
  for (const char* word : {"set", "program", "download", "logo", "--port", "--baud", "--folder", "--new-baud",
                           "--codepage", "--string"})
    EXPECT_NE(help.Output.find(word), std::string::npos) << word;
}

TEST_F(CliTest, ProgramChecksTheImageFirst) {
  const Bytes image = ValidFirmwareImage(512);
  Bytes broken = image;
  broken[100] ^= 1;

  const TRun invalid = Cli(Port() + "program " + WriteBytes("bad.bin", broken));
  EXPECT_EQ(invalid.Status, 65);
  EXPECT_NE(invalid.Output.find("Invalid file"), std::string::npos);
  EXPECT_EQ(Sim.RequestCount(), 0u);

  const TRun good = Cli(Port() + "program " + WriteBytes("good.bin", image));
  EXPECT_EQ(good.Status, 0) << good.Output;
  EXPECT_EQ(Sim.FirmwareImage(), image);
}

TEST_F(CliTest, DownloadTakesCommandAndBaseAfterTheFileName) {
  const Bytes file = PatternBytes(300);
  const TRun run = Cli(Port() + "download " + WriteBytes("a.bin", file) + ":50:4096 " + Folder + "gone.bin");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_NE(run.Output.find("gone.bin does not exist"), std::string::npos);
  EXPECT_EQ(Sim.DownloadRange(4096, 300), file);
  EXPECT_EQ(Sim.DownloadCommand(), 50);
}

TEST_F(CliTest, NetworkAddressComesFromTheSettingsFile) {
  Sim.Stop();
  ASSERT_TRUE(Sim.StartUdp(0));
  const TRun unset = Cli("--port TCP/IP set");
  EXPECT_EQ(unset.Status, 1) << "no host configured must never read as OK";
  WriteText("config.ini", "[NETWORK]\nHOST=127.0.0.1\nPORT=" + std::to_string(Sim.UdpPort()) + "\n");
  const TRun run = Cli("--port TCP/IP set --string 654321");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(Sim.ParameterBlock()[7], 0x21);
}

std::string BlackBmp(int width, int height) {
  TPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.assign(static_cast<size_t>(width * height), 0x000000);
  return EncodeBmp(picture, TBmpOptions{});
}

TEST_F(CliTest, LogoPackWritesTheSetAndItsSpace) {
  WriteText("a.bmp", BlackBmp(13, 5));
  WriteText("b.bmp", BlackBmp(8, 1));
  const TRun run = Cli("logo pack " + Folder + "a.bmp " + Folder + "b.bmp -o " + Folder + "set.bin");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_NE(run.Output.find("35 bytes"), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("SPACE: 0,035 Used, 65,501 Free"), std::string::npos) << run.Output;
  const std::string set = ReadTextFile(Folder + "set.bin");
  ASSERT_EQ(set.size(), 35u);
  EXPECT_EQ(set.substr(0, 7), std::string("\xAA\xDD\x02\x02\x00\x01\x00", 7));

  const TRun broken = Cli("logo pack " + Folder + "a.bmp " + Folder + "nothing.bmp");
  EXPECT_EQ(broken.Status, 65);
  EXPECT_NE(broken.Output.find("ERROR"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Folder + "logo.bin")) << "a set short of its count is not saved";
}

TEST_F(CliTest, LogoDownloadSendsLogoBinWithTheConfiguredCommandAndAddress) {
  WriteText("config.ini", "[LOGO]\nCOMMAND=50\nPARA=256\n");
  WriteText("a.bmp", BlackBmp(384, 64));
  const TRun run = Cli(Port() + "logo download " + Folder + "a.bmp");
  EXPECT_EQ(run.Status, 0) << run.Output;
  const std::string set = ReadTextFile(Folder + "logo.bin");
  ASSERT_EQ(set.size(), 3u + 3076);
  EXPECT_EQ(Sim.DownloadRange(256, set.size()), Bytes(set.begin(), set.end()));
  EXPECT_EQ(Sim.DownloadCommand(), 50);
}

}  // namespace
}  // namespace printset
