#include <gtest/gtest.h>

#include <vector>

#include "base/DateTime.h"
#include "base/Text.h"
#include "engine/Convert.h"
#include "engine/FirmwareImage.h"
#include "engine/ParameterBlock.h"
#include "engine/Rack.h"
#include "engine/TransferRules.h"
#include "link/PacketCodec.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Block(const std::string& baud, int32_t codePage, const std::string& digits) {
  const auto block = BuildParameterBlock(baud, codePage, digits);
  return Bytes(block.begin(), block.end());
}

Bytes Slice(const Bytes& bytes, size_t from, size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + count));
}

TEST(RackTraceNamesTest, EveryPortGetsAFileOfItsOwnEvenWhereCaseIsIgnored) {
  struct TRow {
    std::vector<std::string> Ports;
    std::vector<std::string> Names;
  };
  const TRow rows[] = {
      {{"/dev/ttyUSB0", "/dev/ttyUSB1"}, {"debug-dev-ttyUSB0.log", "debug-dev-ttyUSB1.log"}},
      // Numbered by their place in the rack, from 1; a name another port has is skipped.
      {{"x-y", "x:y"}, {"debug-x-y-1.log", "debug-x-y-2.log"}},
      {{"a", "x-y", "x:y", "x-y-2"}, {"debug-a.log", "debug-x-y-3.log", "debug-x-y-4.log", "debug-x-y-2.log"}},
      // Names that differ only in case are one file where the file system ignores case.
      {{"COM1", "com1", "COM2"}, {"debug-COM1-1.log", "debug-com1-2.log", "debug-COM2.log"}},
      {{"TCP/IP:Printer", "TCP/IP:printer"}, {"debug-TCP-IP-Printer-1.log", "debug-TCP-IP-printer-2.log"}},
  };
  for (const TRow& row : rows) EXPECT_EQ(RackTraceFileNames(row.Ports), row.Names) << row.Ports[0];
}

TEST(ParameterBlockTest, BaudRateIsBigEndianWithLeadingBlanksSkipped) {
  EXPECT_EQ(Slice(Block("115200", 0, ""), 0, 4), (Bytes{0x00, 0x01, 0xC2, 0x00}));
  EXPECT_EQ(Slice(Block("  9600", 0, ""), 0, 4), (Bytes{0x00, 0x00, 0x25, 0x80}));
  EXPECT_EQ(Slice(Block("  4800", 0, ""), 0, 4), (Bytes{0x00, 0x00, 0x12, 0xC0}));
}

TEST(ParameterBlockTest, DigitsArePackedTwoPerByteAndBlanksCountAsZero) {
  EXPECT_EQ(Slice(Block("9600", 0, "123456"), 5, 3), (Bytes{0x12, 0x34, 0x56}));
  EXPECT_EQ(Slice(Block("9600", 0, "12 45 "), 5, 3), (Bytes{0x12, 0x04, 0x50}));
  EXPECT_EQ(Slice(Block("9600", 0, ""), 5, 3), (Bytes{0x00, 0x00, 0x00}));
  EXPECT_EQ(Slice(Block("9600", 0, "1234"), 5, 3), (Bytes{0x12, 0x34, 0x00}));
}

TEST(ParameterBlockTest, CodePageKeepsItsLowEightBits) {
  EXPECT_EQ(Block("9600", 300, "")[4], 0x2C);
  EXPECT_EQ(Block("9600", 31, "")[4], 31);
}

TEST(ParameterBlockTest, WholeBlockOfTheExample) {
  EXPECT_EQ(Block("  9600", 0, "123456"), (Bytes{0x00, 0x00, 0x25, 0x80, 0x00, 0x12, 0x34, 0x56}));
}

TEST(ParameterBlockTest, BaudTextThatIsNotANumberIsRefusedWithItsText) {
  for (const std::string bad : {"abc", "", "9600 ", "96x0", "99999999999"}) {
    try {
      BuildParameterBlock(bad, 0, "");
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const TConvertError& error) {
      EXPECT_EQ(std::string(error.what()), "'" + bad + "' is not a valid integer value");
    }
  }
}

TEST(ConvertTest, DecimalTextWithSignsAndRange) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-45"), -45);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_THROW(StrToInt("2147483648"), TConvertError);
  EXPECT_THROW(StrToInt("-"), TConvertError);
  EXPECT_EQ(Trim("  COM2 \t"), "COM2");
}


TEST(FirmwareImageTest, TheSmallestValidImage) {
  Bytes image(256, 0);
  image[1] = image[2] = image[3] = 0xFF;  // 0xFFFFFF00 + 256 wraps to 0
  image[5] = 0x01;
  EXPECT_TRUE(IsValidFirmwareImage(image.data(), image.size()));
  for (size_t i = 0; i < image.size(); ++i) {
    Bytes changed = image;
    changed[i] ^= 0x01;
    EXPECT_FALSE(IsValidFirmwareImage(changed.data(), changed.size())) << "byte " << i;
  }
}

TEST(FirmwareImageTest, LengthWordAndMinimumSize) {
  const Bytes good = ValidFirmwareImage(300);
  EXPECT_TRUE(IsValidFirmwareImage(good.data(), good.size()));
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_FALSE(IsValidFirmwareImage(longer.data(), longer.size()));
  EXPECT_FALSE(IsValidFirmwareImage(good.data(), good.size() - 1));
  const Bytes tiny(255, 0);
  EXPECT_FALSE(IsValidFirmwareImage(tiny.data(), tiny.size()));
}

TEST(FirmwareImageTest, TailBytesOutsideWholeWordsAreNotSummed) {
  Bytes image = ValidFirmwareImage(256);
  image.resize(258);
  PutLe32(&image[4], 258);
  PutLe32(&image[0], GetLe32(&image[0]) - 2);  // the length word grew by 2
  image[256] = 0xAB;
  image[257] = 0xCD;
  EXPECT_TRUE(IsValidFirmwareImage(image.data(), image.size()));
}

TEST(TransferRulesTest, BlocksStartingAPageWaitLonger) {
  EXPECT_EQ(DownloadBlockTimeoutMs(0), 1800u);
  EXPECT_EQ(DownloadBlockTimeoutMs(3840), 600u);
  EXPECT_EQ(DownloadBlockTimeoutMs(4096), 1800u);
  EXPECT_EQ(DownloadBlockTimeoutMs(4352), 600u);
  EXPECT_EQ(FirmwareBlockTimeoutMs(0), 1200u);
  EXPECT_EQ(FirmwareBlockTimeoutMs(256), 600u);
  EXPECT_EQ(FirmwareBlockTimeoutMs(8192), 1200u);
}

TEST(DateTimeTest, WholeMillisecondsBetweenTwoDateTimes) {
  const TDateTime a = 46000.25;
  const TDateTime b = a + 1.5 / 86400000.0;
  EXPECT_EQ(MilliSecondsBetween(a, b), 1);
  EXPECT_EQ(MilliSecondsBetween(b, a), 1);
  EXPECT_EQ(MilliSecondsBetween(a, a), 0);
  EXPECT_EQ(MilliSecondsBetween(0, 1), 86400000);
}

}  // namespace
}  // namespace printset
