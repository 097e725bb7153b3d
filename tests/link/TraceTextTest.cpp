// The trace text, to the byte: timestamps, hex-dump lines, the saved file.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "support/TempDir.h"
#include "link/TraceFormat.h"
#include "link/TraceLog.h"

namespace printset {
namespace {

std::vector<uint8_t> Letters(size_t count) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>('A' + i));
  return bytes;
}

TEST(TraceTimestamp, FixedValuesAreZeroPaddedWithOneBlankEachSide) {
  EXPECT_EQ(FormatTraceTimestamp(2024, 3, 7, 9, 5, 2, 45), " 24-03-07 09:05:02 045 ");
  EXPECT_EQ(FormatTraceTimestamp(1999, 12, 31, 23, 59, 59, 999), " 99-12-31 23:59:59 999 ");
  EXPECT_EQ(FormatTraceTimestamp(2000, 1, 1, 0, 0, 0, 0), " 00-01-01 00:00:00 000 ");
}

TEST(TraceTimestamp, NowHasTheTraceShape) {
  EXPECT_TRUE(std::regex_match(TraceTimestampNow(), std::regex(R"( \d\d-\d\d-\d\d \d\d:\d\d:\d\d \d\d\d )")));
}

TEST(HexDump, SeventeenBytesGiveAFullLineAndALineWithOneByte) {
  const auto bytes = Letters(17);
  const auto lines = HexDumpLines(bytes.data(), bytes.size());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "    41 42 43 44 45 46 47 48    49 4A 4B 4C 4D 4E 4F 50        ;ABCDEFGHIJKLMNOP");
  EXPECT_EQ(lines[1], "    51                                                        ;Q               ");
}

TEST(HexDump, PartialLinesKeepTheLayout) {
  for (size_t count : {1u, 8u, 9u, 12u, 15u, 16u}) {
    SCOPED_TRACE(count);
    const auto bytes = Letters(count);
    const auto lines = HexDumpLines(bytes.data(), count);
    ASSERT_EQ(lines.size(), 1u);
    const std::string& line = lines[0];
    ASSERT_EQ(line.size(), 79u);
    EXPECT_EQ(line[62], ';');
    for (size_t p = 0; p < 16; ++p) {
      const size_t hex = 4 + 3 * p + (p >= 8 ? 3 : 0);
      if (p < count) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", bytes[p]);
        EXPECT_EQ(line.substr(hex, 3), std::string(expected) + " ") << "position " << p;
        EXPECT_EQ(line[63 + p], static_cast<char>(bytes[p]));
      } else {
        EXPECT_EQ(line.substr(hex, 3), "   ") << "position " << p;
        EXPECT_EQ(line[63 + p], ' ');
      }
    }
  }
}

TEST(HexDump, MultiplesOfSixteenAndZeroGiveNoPaddedLine) {
  EXPECT_TRUE(HexDumpLines(nullptr, 0).empty());
  const auto bytes = Letters(32);
  const auto lines = HexDumpLines(bytes.data(), 32);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].substr(63), "QRSTUVWXYZ[\\]^_`");
}

TEST(HexDump, HighBytesStandAsTheyAreAndLowBytesBecomeBlanks) {
  const std::vector<uint8_t> bytes = {0x00, 0x20, 0x21, 0x7F, 0x80, 0xFE, 0xFF, 0x0A};
  const auto lines = HexDumpLines(bytes.data(), bytes.size());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string("    00 20 21 7F 80 FE FF 0A                                   ;") +
                          "  !\x7F\x80\xFE\xFF " + std::string(8, ' '));
}

TEST(TraceLog, SavedFileEndsEveryLineWithCrLfAndKeepsBytes) {
  TTempDir dir;
  TTraceLog log;
  log.TraceLine("OPEN COM1");
  const std::vector<uint8_t> bytes = {0xFE, 'x'};
  log.TraceHexDump(bytes.data(), bytes.size());
  ASSERT_TRUE(log.SaveToFile(dir.File("debug.log")));
  std::ifstream in(dir.File("debug.log"), std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "OPEN COM1\r\n" + HexDumpLines(bytes.data(), 2)[0] + "\r\n");
  EXPECT_NE(content.find('\xFE'), std::string::npos);
}

TEST(TraceLog, DisabledTraceKeepsNothingAndAnUnwritableFileSaysWhy) {
  TTraceLog log;
  log.TraceEnabled = false;
  log.TraceLine("x");
  EXPECT_TRUE(log.GetLines().empty());
  std::string error;
  EXPECT_FALSE(log.SaveToFile("/nonexistent-folder/debug.log", &error));
  EXPECT_EQ(error, "No such file or directory");
}

}  // namespace
}  // namespace printset
