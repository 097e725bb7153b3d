#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <limits>
#include <string>

#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

TEST(ProfileInteger, DecimalAndHexadecimalForms) {
  struct TCase {
    const char* Text;
    int32_t Expected;
  };
  const int32_t fallback = 77;
  const TCase cases[] = {
      {"00012", 12},
      {"-5", -5},
      {"2147483647", std::numeric_limits<int32_t>::max()},
      {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"2147483648", fallback},
      {"-2147483649", fallback},
      {"0X1f", 31},
      {"0x80000000", std::numeric_limits<int32_t>::min()},
      {"0xFFFFFFFF", -1},
      {"0x100000000", fallback},
      {"0x", fallback},
      {"0x1G", fallback},
      {"-0x10", fallback},
      {"+5", fallback},
      {"", fallback},
      {"-", fallback},
      {"1 2", fallback},
  };
  for (const TCase& c : cases) EXPECT_EQ(ParseProfileInteger(c.Text, fallback), c.Expected) << c.Text;
}

TEST(ProfileFile, MissingFileGivesDefaults) {
  TTempDir folder;
  const TProfileFile file(folder.File("config.ini"));
  const TLogoSettings settings = ReadLogoSettings(file);
  EXPECT_EQ(settings.LogoSize, 65536);
  EXPECT_EQ(settings.LogoWidth, 384);
  EXPECT_EQ(settings.LogoQuantity, 8);
  EXPECT_EQ(settings.LogoCommand, 45);
  EXPECT_EQ(settings.LogoPara, 0);
  const TCodePageTable codePages = ReadCodePages(file);
  EXPECT_TRUE(codePages.Names.empty());
  for (int32_t value : codePages.Values) EXPECT_EQ(value, 0);
}

TEST(ProfileFile, NewFileListsLogoKeysInWriteOrder) {
  TTempDir folder;
  TProfileFile file(folder.File("config.ini"));
  ASSERT_TRUE(WriteLogoSettings(file, TLogoSettings{})) << file.LastError();
  EXPECT_EQ(ReadTextFile(file.Path()),
            "[LOGO]\r\nSIZE=65536\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\nWIDTH=384\r\n");
}

TEST(ProfileFile, HexadecimalSizeIsWrittenBackAsDecimal) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\r\nSIZE=0x8000\r\n");
  TProfileFile file(folder.File("config.ini"));
  const TLogoSettings settings = ReadLogoSettings(file);
  EXPECT_EQ(settings.LogoSize, 32768);
  ASSERT_TRUE(WriteLogoSettings(file, settings));
  EXPECT_EQ(ReadTextFile(file.Path()),
            "[LOGO]\r\nSIZE=32768\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\nWIDTH=384\r\n");
}

TEST(ProfileFile, CodePagesKeepFileOrderAndInvalidValuesReadZero) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[CODEPAGE]\nALPHA=3\nBETA=x\nGAMMA=0x1F\n");
  const TCodePageTable table = ReadCodePages(TProfileFile(folder.File("config.ini")));
  EXPECT_EQ(table.Names, (std::vector<std::string>{"ALPHA", "BETA", "GAMMA"}));
  EXPECT_EQ(table.Values[0], 3);
  EXPECT_EQ(table.Values[1], 0);
  EXPECT_EQ(table.Values[2], 31);
  EXPECT_EQ(table.Values[3], 0);
}

TEST(ProfileFile, CodePagesPastTheTableAreLeftOut) {
  TTempDir folder;
  std::string text = "[CODEPAGE]\n";
  for (int i = 0; i < 1030; ++i) text += "CP" + std::to_string(i) + "=" + std::to_string(i + 1) + "\n";
  WriteTextFile(folder.File("config.ini"), text);
  const TCodePageTable table = ReadCodePages(TProfileFile(folder.File("config.ini")));
  ASSERT_EQ(table.Names.size(), kCodePageCapacity);
  EXPECT_EQ(table.Names.back(), "CP1023");
  EXPECT_EQ(table.Values[0], 1);
  EXPECT_EQ(table.Values[1023], 1024);
}

TEST(ProfileFile, NamesMatchRegardlessOfCaseAndBlanks) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[ logo ]\n  size = 1000 \nWidth\t=\t0x10\n");
  TProfileFile file(folder.File("config.ini"));
  EXPECT_EQ(file.ReadInteger("LOGO", "SIZE", 0), 1000);
  EXPECT_EQ(file.ReadString("Logo", "WIDTH"), "0x10");
  EXPECT_EQ(file.ReadSectionKeys("LoGo"), (std::vector<std::string>{"size", "Width"}));
  EXPECT_EQ(file.ReadString("LOGO", "PARA"), std::nullopt);
  EXPECT_EQ(file.ReadString("OTHER", "SIZE"), std::nullopt);

  // Replaced in place with the file's own spelling and indentation, LF kept.
  ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 2000));
  EXPECT_EQ(ReadTextFile(file.Path()), "[ logo ]\n  size=2000\nWidth\t=\t0x10\n");
}

TEST(ProfileFile, FirstOfDuplicatedKeysAndSectionsCounts) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"),
                 "[CODEPAGE]\nA=1\nB=2\na=3\n[CODEPAGE]\nC=4\n");
  TProfileFile file(folder.File("config.ini"));
  EXPECT_EQ(file.ReadSectionKeys("CODEPAGE"), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(file.ReadInteger("CODEPAGE", "a", 0), 1);
  EXPECT_EQ(file.ReadString("CODEPAGE", "C"), std::nullopt);
  ASSERT_TRUE(file.WriteString("codepage", "A", "9"));
  EXPECT_EQ(ReadTextFile(file.Path()), "[CODEPAGE]\nA=9\nB=2\na=3\n[CODEPAGE]\nC=4\n");
}

TEST(ProfileFile, WritingKeepsEverythingElseUntouched) {
  TTempDir folder;
  const std::string before =
      "; printer settings\r\n"
      "[PORTS]\r\n"
      "COM1 = /dev/ttyUSB0\r\n"
      "\r\n"
      "[LOGO]\r\n"
      "# room in the printer\r\n"
      "SIZE=1\r\n"
      "EXTRA=keep me\r\n"
      "garbage line without equals\r\n"
      "; trailing comment of LOGO\r\n"
      "\r\n"
      "[CODEPAGE]\r\n"
      "ALPHA=3\r\n";
  WriteTextFile(folder.File("config.ini"), before);
  TProfileFile file(folder.File("config.ini"));
  ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 4096));
  ASSERT_TRUE(file.WriteInteger("LOGO", "WIDTH", 576));
  ASSERT_TRUE(file.WriteString("NEW", "KEY", " value "));
  EXPECT_EQ(ReadTextFile(file.Path()),
            "; printer settings\r\n"
            "[PORTS]\r\n"
            "COM1 = /dev/ttyUSB0\r\n"
            "\r\n"
            "[LOGO]\r\n"
            "# room in the printer\r\n"
            "SIZE=4096\r\n"
            "EXTRA=keep me\r\n"
            "WIDTH=576\r\n"
            "garbage line without equals\r\n"
            "; trailing comment of LOGO\r\n"
            "\r\n"
            "[CODEPAGE]\r\n"
            "ALPHA=3\r\n"
            "\r\n"
            "[NEW]\r\n"
            "KEY=value\r\n");
  EXPECT_EQ(file.ReadString("NEW", "KEY"), "value");
  EXPECT_EQ(file.ReadInteger("LOGO", "WIDTH", 0), 576);
}

TEST(ProfileFile, KeyOfAnEmptySectionGoesRightBelowItsHeader) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\n[CODEPAGE]\nA=1");
  TProfileFile file(folder.File("config.ini"));
  ASSERT_TRUE(file.WriteInteger("LOGO", "PARA", -3));
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nPARA=-3\n[CODEPAGE]\nA=1\n");
}

TEST(ProfileFile, WriteKeepsChangesMadeOnDiskSinceReading) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n");
  TProfileFile file(folder.File("config.ini"));
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n[CODEPAGE]\nA=1\n");
  ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 2));
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nSIZE=2\n[CODEPAGE]\nA=1\n");
}

TEST(ProfileFile, WriteThroughALinkReplacesTheLinkedFile) {
  TTempDir folder;
  WriteTextFile(folder.File("real.ini"), "[LOGO]\nSIZE=1\n");
  std::filesystem::create_symlink(folder.File("real.ini"), folder.File("config.ini"));
  TProfileFile file(folder.File("config.ini"));
  ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 2));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("config.ini")));
  EXPECT_EQ(ReadTextFile(folder.File("real.ini")), "[LOGO]\nSIZE=2\n");
}

TEST(ProfileFileFailure, UnwritableFolderReportsTheReason) {
  // A regular file as the parent stops writing even for root, unlike permission bits.
  TTempDir folder;
  WriteTextFile(folder.File("plain"), "x");
  TProfileFile file(folder.File("plain") + "/config.ini");
  EXPECT_FALSE(WriteLogoSettings(file, TLogoSettings{}));
  EXPECT_FALSE(file.LastError().empty());
  EXPECT_EQ(ReadTextFile(folder.File("plain")), "x");
}

TEST(ProfileFileFailure, WriteCutShortLeavesTheOldFileWhole) {
  // A file size limit makes the write fail halfway, as a full disk would.
  TTempDir folder;
  std::string before = "[LOGO]\nSIZE=1\n";
  for (int i = 0; i < 200; ++i) before += "; comment line number " + std::to_string(i) + "\n";
  WriteTextFile(folder.File("config.ini"), before);
  TProfileFile file(folder.File("config.ini"));

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool written = file.WriteInteger("LOGO", "SIZE", 2);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, savedHandler);

  EXPECT_FALSE(written);
  EXPECT_FALSE(file.LastError().empty());
  EXPECT_EQ(ReadTextFile(folder.File("config.ini")), before);
  EXPECT_EQ(file.ReadInteger("LOGO", "SIZE", 0), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.File("")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(ProfileFileFailure, NamesThatWouldBreakTheFileAreRefused) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n");
  TProfileFile file(folder.File("config.ini"));
  // Each would be written, but read back as another name, a comment or a section.
  const char* const refused[][3] = {
      {"LOGO", "A=B", "1"}, {"LO]GO", "SIZE", "1"}, {"LOGO", "SIZE", "1\n[X]"}, {"LOGO", " ", "1"},
      {" LOGO", "SIZE", "1"}, {"LOGO\t", "SIZE", "1"}, {"LOGO", " SIZE", "1"}, {"LOGO", "SIZE ", "1"},
      {"LOGO", ";SIZE", "1"}, {"LOGO", "#SIZE", "1"}, {"LOGO", "[SIZE", "1"}, {"", "SIZE", "1"},
  };
  for (const auto& row : refused)
    EXPECT_FALSE(file.WriteString(row[0], row[1], row[2])) << "[" << row[0] << "] " << row[1] << "=" << row[2];
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nSIZE=1\n");
  // The same characters inside a name are harmless.
  ASSERT_TRUE(file.WriteString("LOGO", "S;Z#[ ]", "2"));
  EXPECT_EQ(TProfileFile(file.Path()).ReadString("LOGO", "S;Z#[ ]"), "2");
}

}  // namespace
}  // namespace printset
