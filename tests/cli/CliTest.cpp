// printset-cli as a script would use it: options, verbs, output and exit status.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"
#include "base/Numbers.h"
#include "sim/SimPrinter.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  }
  void TearDown() override {
    Sim.Stop();
  }

  TRun Cli(const std::string& arguments) { return RunCli("--folder " + Folder + " " + arguments); }
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

std::string BlackBmp(int width, int height) {
  TPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.Pixels.assign(static_cast<size_t>(width * height), 0x000000);
  return EncodeBmp(picture, TBmpOptions{});
}

TEST(CliNumbers, DecimalOrHexadecimalUpToTheirMaximum) {
  struct TRow {
    const char* Text;
    uint64_t Max;
    bool Accepted;
    uint64_t Value;
  };
  const TRow rows[] = {
      {"0", 0, true, 0},         {"10", 10, true, 10},          {"11", 10, false, 0},
      {"5", 3, false, 0},        {"0x0A", 10, true, 10},        {"0XfF", 255, true, 255},
      {"0x100", 255, false, 0},  {"007", 7, true, 7},           {"0x", 255, false, 0},
      {"", 255, false, 0},       {"-1", 255, false, 0},         {"+1", 255, false, 0},
      {" 1", 255, false, 0},     {"1 ", 255, false, 0},         {"0x1G", 255, false, 0},
      {"12a", 255, false, 0},    {"0x-1", 255, false, 0},
      {"18446744073709551615", UINT64_MAX, true, UINT64_MAX},
      {"18446744073709551616", UINT64_MAX, false, 0},
      {"0x1FFFFFFFFFFFFFFFF", UINT64_MAX, false, 0},
  };
  for (const TRow& row : rows) {
    uint64_t value = 12345;
    EXPECT_EQ(ParseNumber(row.Text, row.Max, value), row.Accepted) << "'" << row.Text << "'";
    EXPECT_EQ(value, row.Accepted ? row.Value : 12345u) << "'" << row.Text << "'";
  }
}

TEST_F(CliTest, SetSendsTheBlockAndWritesTheTrace) {
  const TRun run = Cli(Port() + "set --new-baud 115200 --codepage-value 0x2C --string '12 45'");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(run.Output, "OK\n");
  EXPECT_EQ(Sim.ParameterBlock(), (Bytes{0x00, 0x01, 0xC2, 0x00, 0x2C, 0x12, 0x04, 0x50}));
  EXPECT_TRUE(std::filesystem::exists(Folder + "debug.log"));
  // Without --new-baud the printer keeps the rate it is being talked to at.
  const TRun kept = Cli(Port() + "--baud 19200 set --codepage-value 0 --string 000000");
  EXPECT_EQ(kept.Status, 0) << kept.Output;
  EXPECT_EQ(Sim.ParameterBlock(), (Bytes{0x00, 0x00, 0x4B, 0x00, 0x00, 0x00, 0x00, 0x00}));
}

TEST_F(CliTest, CodePagesAndPortNamesComeFromTheSettingsFile) {
  WriteText("config.ini", "[CODEPAGE]\nALPHA=3\nBETA=x\nGAMMA=0x1F\n[PORTS]\nCOM3=" + Sim.DevicePath() + "\n");
  EXPECT_EQ(Cli("--port COM3 set").Status, 0);
  EXPECT_EQ(Sim.ParameterBlock()[4], 3) << "the first code page is the default";
  EXPECT_EQ(Cli("--port COM3 set --codepage gamma").Status, 0);
  EXPECT_EQ(Sim.ParameterBlock()[4], 31);
  const TRun unknown = Cli("--port COM3 set --codepage DELTA");
  EXPECT_EQ(unknown.Status, 64);
  EXPECT_NE(unknown.Output.find("it has 'ALPHA', 'BETA', 'GAMMA'"), std::string::npos) << unknown.Output;
  WriteText("config.ini", "[LOGO]\nSIZE=1\n");
  const TRun none = Cli("--port " + Sim.DevicePath() + " set --codepage ALPHA");
  EXPECT_EQ(none.Status, 64);
  EXPECT_NE(none.Output.find("has no [CODEPAGE] section (printset-cli codepages --add"), std::string::npos)
      << none.Output;
}

// Run from the build folder, without a config.ini of its own: the per-user config.ini is
// made from the sample built into the program. A file without code pages takes the
// sample's [CODEPAGE] section with `codepages --add`, every line of its own kept.
TEST_F(CliTest, TheBuiltInSampleGivesTheCodePages) {
  const std::string sample = ReadTextFile(std::string(PRINTSET_SOURCE_DIR) + "/packaging/config.ini");
  ASSERT_FALSE(sample.empty());
  const std::string program = PRINTSET_CLI;
  ASSERT_FALSE(std::filesystem::exists(program.substr(0, program.rfind('/') + 1) + "config.ini"))
      << "a config.ini beside the built program puts it in portable mode";
  const std::string environment = "PATH=/usr/bin:/bin HOME=" + Folder + "home XDG_CONFIG_HOME=" + Folder +
                                  "cfg XDG_STATE_HOME=" + Folder + "state";
  const std::string config = Folder + "cfg/printset/config.ini";

  const TRun first = RunCliIn(environment, "codepages");
  EXPECT_EQ(first.Status, 0) << first.Output;
  EXPECT_EQ(ReadTextFile(config), sample);
  EXPECT_EQ(first.Output.rfind("   0  PC437 (USA)\n", 0), 0u) << first.Output;
  EXPECT_NE(first.Output.find("  19  PC858 (Euro)\n"), std::string::npos) << first.Output;

  // The sample's section, from its [CODEPAGE] line to the blank line before the next
  // section, in the file's own line ends, after a blank line.
  const size_t begin = sample.find("[CODEPAGE]\n");
  const size_t end = sample.find("\n\n[", begin);
  ASSERT_NE(end, std::string::npos);
  std::string section;
  for (const char c : sample.substr(begin, end + 1 - begin)) section += c == '\n' ? std::string("\r\n") : std::string(1, c);
  const std::string own = "; mine\r\n[LOGO]\r\nSIZE=4096";
  WriteTextFile(config, own);
  const TRun added = RunCliIn(environment, "codepages --add");
  EXPECT_EQ(added.Status, 0) << added.Output;
  EXPECT_EQ(ReadTextFile(config), own + "\r\n\r\n" + section);
  const TRun again = RunCliIn(environment, "codepages --add");
  EXPECT_EQ(again.Status, 0) << again.Output;
  EXPECT_NE(again.Output.find("already has [CODEPAGE]"), std::string::npos) << again.Output;
  EXPECT_EQ(ReadTextFile(config), own + "\r\n\r\n" + section);

  // A name in any case.
  const TRun set = RunCliIn(environment, Port() + "set --codepage 'pc858 (EURO)'");
  EXPECT_EQ(set.Status, 0) << set.Output;
  EXPECT_EQ(Sim.ParameterBlock()[4], 19);
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

  Sim.ClearFaults();
  Sim.SetIdentity(std::string("BAD\x01\x7FXYZ", 8));
  const TRun stranger = Cli(Port() + "set");
  EXPECT_EQ(stranger.Status, 5);
  EXPECT_NE(stranger.Output.find("the printer answered as \"BAD\\x01\\x7FXYZ\""), std::string::npos) << stranger.Output;

  // The trace goes nowhere: the reason is the full disk, from the call that failed.
  Sim.SetIdentity(kSimDefaultIdentity);
  std::filesystem::remove(Folder + "debug.log");
  std::filesystem::create_symlink("/dev/full", Folder + "debug.log");
  const TRun unsaved = Cli(Port() + "set");
  EXPECT_EQ(unsaved.Status, 0) << unsaved.Output;
  EXPECT_NE(unsaved.Output.find("debug.log: No space left on device"), std::string::npos)
      << unsaved.Output;
}

TEST_F(CliTest, HelpNamesTheVerbsAndOptions) {
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
  const Bytes first = PatternBytes(300);
  const Bytes second(40, 0x5A);
  // The second path holds a colon and a digit, so it is named with both numbers.
  const TRun run = Cli(Port() + "download " + WriteBytes("a.bin", first) + ":0x32:0X1000 " +
                       WriteBytes("log:1", second) + ":51:8192");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(Sim.DownloadRange(4096, first.size()), first);
  EXPECT_EQ(Sim.DownloadRange(8192, second.size()), second);
  std::vector<std::pair<uint16_t, uint32_t>> blocks;
  for (const TSimRequest& request : Sim.Requests())
    if (request.Command == 50 || request.Command == 51) blocks.emplace_back(request.Command, request.Argument);
  EXPECT_EQ(blocks, (std::vector<std::pair<uint16_t, uint32_t>>{{50, 4096}, {50, 4352}, {51, 8192}}));
}

TEST_F(CliTest, DownloadSendsTheFilesAsTheyWereWhenChecked) {
  const Bytes first = PatternBytes(300, 3);
  const Bytes second = PatternBytes(200, 9);
  const std::string a = WriteBytes("a.bin", first);
  const std::string b = WriteBytes("b.bin", second);
  // The first identify goes unanswered; while the job waits to try again, one file is
  // rewritten and the other deleted.
  TSimFaults faults;
  faults.IgnoreFirst = 1;
  Sim.SetFaults(faults);
  std::thread meddler([&] {
    if (!Sim.WaitForRequests(1, 10000)) return;
    WriteBytes("a.bin", Bytes(first.size(), 0xEE));
    std::filesystem::remove(b);
  });
  const TRun run = Cli(Port() + "download " + a + ":45:0 " + b + ":45:4096");
  meddler.join();
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(Sim.DownloadRange(0, first.size()), first);
  EXPECT_EQ(Sim.DownloadRange(4096, second.size()), second);
}

TEST_F(CliTest, BadInputIsRefusedBeforeThePrinterIsTouched) {
  WriteBytes("a.bin", PatternBytes(10));
  WriteText("config.ini", "[LOGO]\nQUANTITY=2\n");
  std::string cut = BlackBmp(16, 16);
  cut.resize(cut.size() - 1);
  WriteText("cut.bmp", cut);
  ASSERT_EQ(::mkfifo((Folder + "fifo").c_str(), 0600), 0);
  std::filesystem::create_directory(Folder + "dir");
  std::filesystem::resize_file(WriteBytes("huge.bin", {}), (16u << 20) + 1);
  std::filesystem::resize_file(WriteBytes("largest.bin", {}), 16u << 20);
  const std::string a = Folder + "a.bin";
  const std::string image = WriteBytes("image.bin", ValidFirmwareImage(512));
  const std::string notARate = "--baud takes one of 4800, 9600, 19200, 38400, 57600, 115200 or auto, not '";
  struct TRow {
    std::string Arguments;
    int Status;
    std::string Fragment;
  };
  const TRow rows[] = {
      {"download " + a + ":4x5", 65, "COMMAND '4x5' is not a number"},
      {"download " + a + ":", 65, "COMMAND '' is not a number"},
      {"download " + a + ":0x10000", 65, "from 0 to 0xFFFF"},
      {"download " + a + ":45:4294967296", 65, "BASE '4294967296' is not a number"},
      {"download :45", 65, "names no file"},
      {"download " + a + " " + Folder + "missing.bin", 65, "missing.bin: No such file or directory"},
      {"download " + Folder + "dir", 65, "a folder, not a regular file"},
      {"download " + Folder + "fifo:45", 65, "a FIFO, not a regular file"},
      {"download", 64, "FILE is required"},
      {"program " + Folder + "fifo", 65, "a FIFO, not a regular file"},
      {"program /dev/null", 65, "a character device, not a regular file"},
      {"program " + Folder + "huge.bin", 65, "16777217 bytes, more than the 16777216 bytes allowed"},
      // The largest image allowed is read and judged by its content.
      {"program " + Folder + "largest.bin", 65, "is not a valid firmware image"},
      // Files that report no size and never end are refused at the limit, while reading.
      {"program /proc/self/pagemap", 65, "more than the 16777216 bytes allowed"},
      {"download /proc/self/pagemap:45", 65, "more than the 16777216 bytes allowed"},
      {"set --new-baud 12345", 64, "--new-baud takes one of 4800, 9600, 19200, 38400, 57600, 115200"},
      // The rate the printers listen at goes to the port, and to the printer in "set".
      {"--baud 12345 set", 64, notARate + "12345'"},
      {"--baud abc set --new-baud 9600", 64, notARate + "abc'"},
      {"--baud 0 program " + image, 64, notARate + "0'"},
      {"--baud=-9600 download " + a, 64, notARate + "-9600'"},
      {"--baud 115201 logo download --allow-empty", 64, notARate + "115201'"},
      {"detect --baud 300", 64, notARate + "300'"},
      {"set --new-baud ' 9600'", 64, "--new-baud takes one of"},
      {"set --codepage-value 256", 64, "from 0 to 255"},
      {"set --codepage-value -1", 64, "from 0 to 255"},
      {"set --string 1234567", 64, "at most six"},
      {"set --string 12a", 64, "digits and blanks only"},
      {"logo download", 64, "--allow-empty"},
      {"logo pack -o " + Folder + "set.bin", 64, "--allow-empty"},
      {"logo download x.bmp y.bmp z.bmp w.bmp", 64, "allows at most 3"},
      {"logo download " + Folder + "fifo", 65, "a FIFO, not a regular file"},
      {"logo download " + Folder + "cut.bmp", 65, "Picture invalid"},
      {"logo download --dots dither x.bmp", 64, "--dots takes classic, luma, floyd-steinberg, atkinson or ordered"},
      {"logo pack --threshold 0 x.bmp", 64, "--threshold takes a number from 1 to 255, not '0'"},
      {"logo pack --threshold=256 x.bmp", 64, "--threshold takes a number from 1 to 255"},
      {"logo pack --threshold 12a x.bmp", 64, "--threshold takes a number from 1 to 255"},
      {"logo show", 64, "FILE is required"},
      {"--folder '' set", 64, "--folder needs a folder name"},
      // "--folder=" is an empty value, not a request to take the next argument as the folder.
      {"--folder= --quiet set", 64, "--folder needs a folder name"},
      {"--folder " + Folder + "missing set", 64, "missing: No such file or directory"},
      {"--folder " + a + " set", 64, "a.bin: not a folder"},
      {"--ports /dev/zero set", 65, "/dev/zero: a character device, not a regular file"},
      {"--ports " + Folder + "huge.bin set", 65, "more than the 1048576 bytes allowed"},
  };
  for (const TRow& row : rows) {
    const TRun run = Cli(Port() + row.Arguments);
    EXPECT_EQ(run.Status, row.Status) << row.Arguments << "\n" << run.Output;
    EXPECT_NE(run.Output.find(row.Fragment), std::string::npos) << row.Arguments << "\n" << run.Output;
    EXPECT_EQ(Sim.RequestCount(), 0u) << row.Arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(Folder + "debug.log")) << "no job ran";
  EXPECT_FALSE(std::filesystem::exists(Folder + "set.bin"));
}

TEST_F(CliTest, NetworkAddressComesFromTheSettingsFile) {
  Sim.Stop();
  ASSERT_TRUE(Sim.StartUdp(0));
  const TRun unset = Cli("--port TCP/IP set");
  EXPECT_EQ(unset.Status, 1) << "no host configured must never read as OK";
  EXPECT_NE(unset.Output.find("TCP/IP: no printer address configured (HOST in [NETWORK] of config.ini)"),
            std::string::npos) << unset.Output;
  WriteText("config.ini", "[NETWORK]\nHOST=127.0.0.1\nPORT=" + std::to_string(Sim.UdpPort()) + "\n");
  const TRun run = Cli("--port TCP/IP set --string 654321");
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(Sim.ParameterBlock()[7], 0x21);
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
  // The room as numbers a script can compare.
  const TRun json =
      RunCli("--folder " + Folder + " --json logo pack " + Folder + "a.bmp " + Folder + "b.bmp -o " + Folder + "j.bin",
             false);
  EXPECT_EQ(json.Status, 0) << json.Output;
  const nlohmann::json packed = nlohmann::json::parse(json.Output);
  EXPECT_EQ(packed["schema"], 1);
  EXPECT_EQ(packed["used"], 35);
  EXPECT_EQ(packed["free"], 65536 - 35);
  EXPECT_EQ(packed["size"], 65536);

  const TRun broken = Cli("logo pack " + Folder + "a.bmp " + Folder + "nothing.bmp");
  EXPECT_EQ(broken.Status, 65);
  EXPECT_NE(broken.Output.find("ERROR"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Folder + "logo.bin")) << "a set short of its count is not saved";
}

TEST_F(CliTest, LogoShowReadsBackWhatLogoPackWrote) {
  // A 13 x 5 pattern of black and white, and an even grey 128 that the classic rule drops
  // whole (blue 128 is not below 128) and the ordered rule prints as a checkerboard.
  TPicture pattern{13, 5, {}};
  for (int i = 0; i < 13 * 5; ++i) pattern.Pixels.push_back(i % 3 == 0 || i % 7 == 0 ? 0x000000 : 0xFFFFFF);
  WriteText("a.bmp", EncodeBmp(pattern, {}));
  WriteText("grey.bmp", EncodeBmp(TPicture{16, 8, std::vector<uint32_t>(16 * 8, 0x808080)}, {}));
  const TRun pack = Cli("logo pack " + Folder + "a.bmp " + Folder + "grey.bmp --dots ordered -o " + Folder + "set.bin");
  ASSERT_EQ(pack.Status, 0) << pack.Output;
  const TRun show = Cli("logo show " + Folder + "set.bin -o " + Folder + "show.png");
  ASSERT_EQ(show.Status, 0) << show.Output;
  EXPECT_EQ(show.Output, "2 logos, 43 bytes\n1: 16 x 8 dots, 20 bytes\n2: 16 x 8 dots, 20 bytes\n");
  const QImage picture(QString::fromStdString(Folder + "show.png"));
  ASSERT_EQ(picture.width(), 16);
  ASSERT_EQ(picture.height(), 8 + 8 + 8);  // the two logos and a white band between them
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      // The pattern one dot right and one row down (centred in 16 x 8), the grey from row 16.
      const int px = x - 1;
      const int py = y - 1;
      const bool patternDot = px >= 0 && px < 13 && py >= 0 && py < 5 && pattern.Pixels[static_cast<size_t>(py * 13 + px)] == 0;
      const bool greyDot = y >= 16 && (x + y) % 2 == 1;
      const QColor expected = patternDot || greyDot ? QColor(Qt::black) : QColor(Qt::white);
      ASSERT_EQ(picture.pixelColor(x, y), expected) << x << ", " << y;
    }

  // [LOGO] chooses the rule and threshold; the options override it.
  WriteText("config.ini", "[LOGO]\nDOTS=luma\nTHRESHOLD=129\n");
  ASSERT_EQ(Cli("logo pack " + Folder + "grey.bmp -o " + Folder + "luma.bin").Status, 0);
  EXPECT_EQ(ReadTextFile(Folder + "luma.bin"), std::string("\xAA\xDD\x01\x02\x00\x01\x00", 7) + std::string(16, '\xFF'));
  ASSERT_EQ(Cli("logo pack " + Folder + "grey.bmp --dots classic --threshold 128 -o " + Folder + "classic.bin").Status, 0);
  EXPECT_EQ(ReadTextFile(Folder + "classic.bin"), std::string("\xAA\xDD\x01\x02\x00\x01\x00", 7) + std::string(16, '\0'));

  // A set cut short, or with bytes past its last logo, is refused and nothing is drawn.
  const std::string set = ReadTextFile(Folder + "set.bin");
  WriteText("cut.bin", set.substr(0, set.size() - 1));
  WriteText("long.bin", set + '\0');
  struct TRow {
    const char* File;
    const char* Reason;
  };
  const TRow rows[] = {
      {"cut.bin", "cut.bin: not a logo set: logo 2 of 2: 8 rows announced, the set ends after 7"},
      {"long.bin", "long.bin: not a logo set: 1 bytes left over after the 2 logos the count announces"},
      {"missing.bin", "missing.bin: No such file or directory"},
  };
  for (const TRow& row : rows) {
    const TRun refused = Cli("logo show " + Folder + row.File + " -o " + Folder + "refused.png");
    EXPECT_EQ(refused.Status, 65) << row.File;
    EXPECT_NE(refused.Output.find(row.Reason), std::string::npos) << refused.Output;
  }
  EXPECT_FALSE(std::filesystem::exists(Folder + "refused.png"));
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
