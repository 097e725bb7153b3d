#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <regex>
#include <string>
#include <thread>

#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileReadCases.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

namespace fs = std::filesystem;

// UTF-16 units as bytes, without a byte order mark.
std::string Utf16(std::u16string_view text, bool bigEndian = false) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// A regular file of `size` bytes holding [S] K=1 and a comment to fill it.
void WriteFileOfSize(const std::string& path, uint64_t size) {
  std::string text = "[S]\nK=1\n;";
  text.resize(size - 1, 'x');
  WriteTextFile(path, text + "\n");
}

size_t EntriesIn(const std::string& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

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
            "[LOGO]\r\nSIZE=65536\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\nWIDTH=384\r\nDOTS=classic\r\n"
            "THRESHOLD=128\r\n");
}

TEST(ProfileFile, HexadecimalSizeIsWrittenBackAsDecimal) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\r\nSIZE=0x8000\r\n");
  TProfileFile file(folder.File("config.ini"));
  const TLogoSettings settings = ReadLogoSettings(file);
  EXPECT_EQ(settings.LogoSize, 32768);
  ASSERT_TRUE(WriteLogoSettings(file, settings));
  EXPECT_EQ(ReadTextFile(file.Path()),
            "[LOGO]\r\nSIZE=32768\r\nQUANTITY=8\r\nCOMMAND=45\r\nPARA=0\r\nWIDTH=384\r\nDOTS=classic\r\n"
            "THRESHOLD=128\r\n");
}

TEST(ProfileFile, DotRuleAndThresholdReadByNameAndRangeAndComeBackAsWritten) {
  struct TRow {
    const char* Lines;
    TDotRule Dots;
    int32_t Threshold;
  };
  const TRow rows[] = {
      {"", TDotRule::Classic, 128},
      {"DOTS=luma\nTHRESHOLD=1\n", TDotRule::Luma, 1},
      {"DOTS=Floyd-Steinberg\nTHRESHOLD=0xFF\n", TDotRule::FloydSteinberg, 255},
      {"DOTS = atkinson \nTHRESHOLD=200\n", TDotRule::Atkinson, 200},
      {"DOTS=\"ordered\"\n", TDotRule::Ordered, 128},
      // What names no rule, or lies outside 1 to 255, leaves the default.
      {"DOTS=dither\nTHRESHOLD=0\n", TDotRule::Classic, 128},
      {"DOTS=floyd steinberg\nTHRESHOLD=256\n", TDotRule::Classic, 128},
      {"DOTS=\nTHRESHOLD=-1\n", TDotRule::Classic, 128},
  };
  TTempDir folder;
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Lines);
    WriteTextFile(folder.File("config.ini"), std::string("[LOGO]\n") + row.Lines);
    const TLogoSettings read = ReadLogoSettings(TProfileFile(folder.File("config.ini")));
    EXPECT_EQ(read.Dots, row.Dots);
    EXPECT_EQ(read.Threshold, row.Threshold);
  }
  for (const TDotRule rule : kDotRules) {
    TProfileFile file(folder.File("config.ini"));
    TLogoSettings settings;
    settings.Dots = rule;
    settings.Threshold = 77;
    ASSERT_TRUE(WriteLogoSettings(file, settings)) << file.LastError();
    const TLogoSettings back = ReadLogoSettings(TProfileFile(file.Path()));
    EXPECT_EQ(back.Dots, rule) << DotRuleName(rule);
    EXPECT_EQ(back.Threshold, 77);
  }
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

TEST(ProfileFile, ReadsWhatTheWindowsFunctionsRead) {
  TTempDir folder;
  for (const TProfileReadCase& row : kProfileReadCases) {
    WriteTextFile(folder.File("config.ini"), ProfileCaseFile(row));
    const TProfileFile file(folder.File("config.ini"));
    std::string read;
    if (row.Key == nullptr) {
      for (const std::string& key : file.ReadSectionKeys(row.Section)) read += key + '\0';
    } else {
      read = file.ReadString(row.Section, row.Key).value_or(std::string(kProfileMissing));
    }
    EXPECT_EQ(read, row.Expected) << row.Name;
  }
}

TEST(ProfileFile, FirstOfDuplicatedKeysAndSectionsCounts) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"),
                 "[CODEPAGE]\nA=1\nB=2\na=3\n[CODEPAGE]\nC=4\n");
  TProfileFile file(folder.File("config.ini"));
  EXPECT_EQ(file.ReadSectionKeys("CODEPAGE"), (std::vector<std::string>{"A", "B", "a"}));
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
            "KEY=\" value \"\r\n");
  EXPECT_EQ(file.ReadString("NEW", "KEY"), " value ");
  EXPECT_EQ(file.ReadInteger("LOGO", "WIDTH", 0), 576);
}

TEST(ProfileFile, KeyOfAnEmptySectionGoesRightBelowItsHeader) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\n[CODEPAGE]\nA=1");
  TProfileFile file(folder.File("config.ini"));
  ASSERT_TRUE(file.WriteInteger("LOGO", "PARA", -3));
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nPARA=-3\n[CODEPAGE]\nA=1");
}

TEST(ProfileFile, WritesBackInTheFilesOwnEncodingAndLineEnds) {
  struct TCase {
    const char* Name;
    std::string Before;
    const char* Section;
    const char* Key;
    std::string Value;
    std::string After;
  };
  const std::string bomLe = "\xFF\xFE";
  // An unpaired surrogate, a character of two units and an odd last byte: not
  // Windows-1252, kept as they were all the same.
  const std::string oddUnits = std::string("\x00\xD8", 2) + Utf16(u"\U0001F600\r\n") + "!";
  const TCase cases[] = {
      {"UTF-16LE, new key", bomLe + Utf16(u"[S]\r\nA=\u4E2D\r\n"), "S", "B", "\x80x",
       bomLe + Utf16(u"[S]\r\nA=\u4E2D\r\nB=\u20ACx\r\n")},
      {"UTF-16LE, untouched units", bomLe + Utf16(u"[S]\r\nA=1\r\nC=") + oddUnits, "S", "A", "2",
       bomLe + Utf16(u"[S]\r\nA=2\r\nC=") + oddUnits},
      {"UTF-16BE", "\xFE\xFF" + Utf16(u"[S]\nA=1\n", true), "S", "A", "\xE9",
       "\xFE\xFF" + Utf16(u"[S]\nA=\u00E9\n", true)},
      {"UTF-8 mark", "\xEF\xBB\xBF[S]\nA=1\n", "s", "a", "2", "\xEF\xBB\xBF[S]\nA=2\n"},
      {"CR only", "[S]\rA=1\rB=2", "S", "A", "3", "[S]\rA=3\rB=2"},
      {"CR only, after a last line without end", "[S]\rA=1", "S", "B", "2", "[S]\rA=1\rB=2\r"},
      {"mixed line ends", "[S]\r\nA=1\nB=2\r\r\n", "S", "C", "3", "[S]\r\nA=1\nB=2\rC=3\r\n\r\n"},
      {"most lines LF, the first CR LF", "[S]\r\nA=1\nB=2\n", "S", "C", "3", "[S]\r\nA=1\nB=2\nC=3\n"},
      {"new section after a last line without end", "[S]\nA=1", "T", "K", "1", "[S]\nA=1\n\n[T]\nK=1\n"},
      {"value in quotes", "[S]\nA=1\n", "S", "A", "\"q\"", "[S]\nA=\"\"q\"\"\n"},
      {"value with outer blanks", "[S]\nA=1\n", "S", "A", " v ", "[S]\nA=\" v \"\n"},
  };
  TTempDir folder;
  for (const TCase& c : cases) {
    WriteTextFile(folder.File("config.ini"), c.Before);
    TProfileFile file(folder.File("config.ini"));
    ASSERT_TRUE(file.WriteString(c.Section, c.Key, c.Value)) << c.Name << ": " << file.LastError();
    EXPECT_EQ(ReadTextFile(file.Path()), c.After) << c.Name;
    EXPECT_EQ(TProfileFile(file.Path()).ReadString(c.Section, c.Key), c.Value) << c.Name;
  }
}

TEST(ProfileFile, ConcurrentSavesLeaveOneWritersWholeFile) {
  TTempDir folder;
  const std::string path = folder.File("config.ini");
  WriteTextFile(path, "[S]\r\nA=\r\nB=\r\n");
  constexpr int kWrites = 150;
  // Values of changing length, so that the bytes of two writers mixed in one file show.
  const auto valueOf = [](char letter, int i) { return std::string(static_cast<size_t>(i % 37 + 1), letter); };
  const std::regex whole("\\[S\\]\r\nA=a*\r\nB=b*\r\n");
  std::atomic<int> writing{2};
  std::atomic<int> failed{0};
  const auto writer = [&](const char* key, char letter) {
    TProfileFile file(path);
    for (int i = 0; i < kWrites; ++i) failed += file.WriteString("S", key, valueOf(letter, i)) ? 0 : 1;
    --writing;
  };
  std::thread first(writer, "A", 'a');
  std::thread second(writer, "B", 'b');
  std::string broken;
  while (writing > 0) {
    const std::string text = ReadTextFile(path);
    if (!std::regex_match(text, whole)) broken = text;
  }
  first.join();
  second.join();
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(broken, "") << "a reader saw a file that was neither the old nor a new one";
  const std::string text = ReadTextFile(path);
  EXPECT_TRUE(std::regex_match(text, whole)) << text;
  // The last write of whichever writer came second is in the file, whole.
  const TProfileFile last(path);
  EXPECT_TRUE(last.ReadString("S", "A") == valueOf('a', kWrites - 1) ||
              last.ReadString("S", "B") == valueOf('b', kWrites - 1))
      << text;
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(ProfileFile, WriteKeepsChangesMadeOnDiskSinceReading) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n");
  TProfileFile file(folder.File("config.ini"));
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n[CODEPAGE]\nA=1\n");
  ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 2));
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nSIZE=2\n[CODEPAGE]\nA=1\n");
}

TEST(ProfileFile, WriteReplacesTheFileWhereItIsAndKeepsItsPermissions) {
  // The new file is made beside the file it replaces, so a link's own folder plays no
  // part: a link whose name leaves no room for a longer name beside it shows that even
  // where permissions would not (root). Two modes, so that no umask gives either alone.
  struct TRow {
    const char* Name;
    std::string Link;  // empty: config.ini is the file itself
    fs::perms Mode;
  };
  const TRow rows[] = {
      {"a file its owner alone may read", "", fs::perms::owner_read | fs::perms::owner_write},
      {"a file its group may write", "", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                             fs::perms::group_write | fs::perms::others_read},
      {"a link from another folder", "config.ini", fs::perms::owner_read | fs::perms::owner_write},
      {"a link with a long name", std::string(250, 'c'), fs::perms::owner_read | fs::perms::owner_write},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TTempDir folder;
    const std::string real = row.Link.empty() ? folder.File("config.ini") : folder.File("real/r.ini");
    const std::string named = row.Link.empty() ? real : folder.File("links/" + row.Link);
    fs::create_directories(fs::path(real).parent_path());
    fs::create_directories(fs::path(named).parent_path());
    WriteTextFile(real, "[LOGO]\nSIZE=1\n");
    fs::permissions(real, row.Mode);
    if (!row.Link.empty()) fs::create_symlink(real, named);
    TProfileFile file(named);
    ASSERT_TRUE(file.WriteInteger("LOGO", "SIZE", 2)) << file.LastError();
    EXPECT_EQ(ReadTextFile(real), "[LOGO]\nSIZE=2\n");
    EXPECT_EQ(fs::status(real).permissions(), row.Mode);
    EXPECT_EQ(fs::is_symlink(named), !row.Link.empty());
    EXPECT_EQ(EntriesIn(fs::path(real).parent_path().string()), 1u);
    EXPECT_EQ(EntriesIn(fs::path(named).parent_path().string()), 1u);
  }
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
  EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(ProfileFile, AFileMayGrowToExactlyTheSizeLimit) {
  struct TRow {
    uint64_t Size;
    const char* Value;
  };
  // One byte short of the limit and a value one longer; at the limit and a value as long.
  const TRow rows[] = {{kProfileFileMaxSize - 1, "22"}, {kProfileFileMaxSize, "2"}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Size);
    TTempDir folder;
    const std::string path = folder.File("config.ini");
    WriteFileOfSize(path, row.Size);
    TProfileFile file(path);
    ASSERT_TRUE(file.WriteString("S", "K", row.Value)) << file.LastError();
    EXPECT_EQ(fs::file_size(path), kProfileFileMaxSize);
    EXPECT_EQ(TProfileFile(path).ReadString("S", "K"), row.Value);
  }
}

TEST(ProfileFileFailure, FilesNotReadWholeAreNeverWrittenOver) {
  const auto fileOfSize = [](uint64_t size) {
    return [size](const std::string& path) { WriteFileOfSize(path, size); };
  };
  struct TCase {
    const char* Name;
    std::function<void(const std::string&)> Make;
    std::optional<std::string> Read;
  };
  const TCase cases[] = {
      {"over the limit", fileOfSize(kProfileFileMaxSize + 1), std::nullopt},
      {"at the limit, a longer value would pass it", fileOfSize(kProfileFileMaxSize), "1"},
      {"a link to /dev/zero", [](const std::string& path) { fs::create_symlink("/dev/zero", path); }, std::nullopt},
      {"a FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); }, std::nullopt},
      {"a folder", [](const std::string& path) { fs::create_directory(path); }, std::nullopt},
  };
  // What the path is, and its bytes when it is a regular file.
  const auto describe = [](const std::string& path) {
    const fs::file_status status = fs::symlink_status(path);
    if (fs::is_symlink(status)) return "link to " + fs::read_symlink(path).string();
    if (fs::is_regular_file(status)) return "file " + ReadTextFile(path);
    return "type " + std::to_string(static_cast<int>(status.type()));
  };
  for (const TCase& c : cases) {
    TTempDir folder;
    const std::string path = folder.File("config.ini");
    c.Make(path);
    const std::string before = describe(path);
    TProfileFile file(path);
    EXPECT_EQ(file.ReadString("S", "K"), c.Read) << c.Name;
    EXPECT_FALSE(file.WriteString("S", "K", "22")) << c.Name;
    EXPECT_FALSE(file.LastError().empty()) << c.Name;
    EXPECT_EQ(describe(path), before) << c.Name;
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << c.Name;
  }
}

TEST(ProfileFileFailure, NamesThatWouldBreakTheFileAreRefused) {
  TTempDir folder;
  WriteTextFile(folder.File("config.ini"), "[LOGO]\nSIZE=1\n");
  TProfileFile file(folder.File("config.ini"));
  // Each would be written, but read back as another name, a comment or a section.
  const char* const refused[][3] = {
      {"LOGO", "A=B", "1"}, {"LO]GO", "SIZE", "1"}, {"LOGO", "SIZE", "1\n[X]"}, {"LOGO", " ", "1"},
      {" LOGO", "SIZE", "1"}, {"LOGO\t", "SIZE", "1"}, {"LOGO", " SIZE", "1"}, {"LOGO", "SIZE ", "1"},
      {"LOGO", ";SIZE", "1"}, {"LOGO", "[SIZE", "1"}, {"", "SIZE", "1"},
  };
  for (const auto& row : refused)
    EXPECT_FALSE(file.WriteString(row[0], row[1], row[2])) << "[" << row[0] << "] " << row[1] << "=" << row[2];
  EXPECT_EQ(ReadTextFile(file.Path()), "[LOGO]\nSIZE=1\n");
  // The same characters inside a name are harmless, "#" starts an ordinary key, and a
  // value the reader would strip of quotes or blanks is quoted.
  const char* const accepted[][2] = {
      {"S;Z#[ ]", "2"}, {"#SIZE", "3"}, {"V1", "\"q\""}, {"V2", "' x '"}, {"V3", "''"},
      {"V4", " lead"}, {"V5", "'a\""}, {"V6", "\""}, {"V7", ""},
  };
  for (const auto& row : accepted) ASSERT_TRUE(file.WriteString("LOGO", row[0], row[1])) << row[0];
  const TProfileFile reread(file.Path());
  for (const auto& row : accepted) EXPECT_EQ(reread.ReadString("LOGO", row[0]), row[1]) << row[0];
}

}  // namespace
}  // namespace printset
