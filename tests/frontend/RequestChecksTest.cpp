// The checks of what the operator types or picks, as tables: the rates, the code pages
// (by name, by the window's entry, by value), the string and the link's rate and port.
#include <gtest/gtest.h>

#include <optional>
#include <type_traits>
#include <string>
#include <vector>

#include "frontend/LinkTarget.h"
#include "frontend/OperatorChecks.h"
#include "settings/BaudRates.h"

namespace printset {

namespace {

const std::string kRates = "4800, 9600, 19200, 38400, 57600, 115200";

// "= N" for a value, else the refusal's text.
template <typename T>
std::string Shown(const TChecked<T>& checked) {
  if (!checked) {
    EXPECT_EQ(checked.Refusal().Kind, TRefusalKind::Usage);
    return checked.Refusal().Text;
  }
  if constexpr (std::is_same_v<T, std::string>) return "= '" + *checked + "'";
  else if constexpr (std::is_same_v<T, TLinkRate>) return "= " + std::to_string(checked->Rate);
  else return "= " + std::to_string(*checked);
}

}  // namespace

TEST(RequestChecks, BaudRates) {
  struct TRow {
    const char* Text;
    TRateField Field;
    std::string Expected;
  };
  const TRow rows[] = {
      {"115200", TRateField::NewBaudOption, "= 115200"},
      {"0x2580", TRateField::NewBaudOption, "= 9600"},
      {" 9600", TRateField::NewBaudOption, "--new-baud takes one of " + kRates + ", not ' 9600'"},
      {"9601", TRateField::NewBaudOption, "--new-baud takes one of " + kRates + ", not '9601'"},
      {"9601", TRateField::BaudOption, "--baud takes one of " + kRates + " or auto, not '9601'"},
      {"  4800", TRateField::WindowBox, "= 4800"},
      {" 57600 ", TRateField::WindowBox, "= 57600"},
      {" fast ", TRateField::WindowBox, "'fast' is not a valid integer value"},
      {"1200", TRateField::WindowBox, "'1200' is not a baud rate of the printer; choose one of " + kRates},
  };
  for (const TRow& row : rows) EXPECT_EQ(Shown(CheckBaudRate(row.Text, row.Field)), row.Expected) << row.Text;
}

TEST(RequestChecks, CodePageOfTheWindowsEntry) {
  // Two entries may share a name but not their numbers: the entry the box stands on wins.
  const std::vector<std::string> entries = {"PC437", "Katakana", "PC437", "PC850"};
  struct TRow {
    std::vector<std::string> Entries;
    int Current;
    const char* Text;
    std::string Expected;
  };
  std::vector<std::string> many;
  for (int i = 0; i < 25; ++i) many.push_back("CP" + std::to_string(i));
  std::string twenty;
  for (int i = 0; i < 20; ++i) twenty += (i ? ", 'CP" : "'CP") + std::to_string(i) + "'";
  const TRow rows[] = {
      {entries, 1, "Katakana", "= 1"},
      {entries, 2, "PC437", "= 2"},
      {entries, 1, "PC437", "= 0"},
      {entries, 0, "  PC850 ", "= 3"},
      {entries, -1, "PC850", "= 3"},
      {entries, 0, "pc850", "'pc850' is not a code page of the list; choose one of 'PC437', 'Katakana', 'PC437', 'PC850'"},
      {{}, -1, "anything", "= -1"},
      {many, 0, "CP99", "'CP99' is not a code page of the list; choose one of " + twenty + ", ... (25 entries)"},
  };
  for (const TRow& row : rows)
    EXPECT_EQ(Shown(CodePageEntry(row.Entries, row.Current, row.Text)), row.Expected) << row.Text;
  TCodePageTable table;
  table.Names = entries;
  table.Values[0] = 3;
  table.Values[1] = 40;
  table.Values[2] = 7;
  table.Values[3] = 2;
  EXPECT_EQ(CodePageOfEntry(table, 0), 3);
  EXPECT_EQ(CodePageOfEntry(table, 2), 7);
  EXPECT_EQ(CodePageOfEntry(table, -1), 0);
  EXPECT_EQ(CodePageOfEntry(table, 4), 0);
}

TEST(RequestChecks, CodePageByNameOrValueAndTheString) {
  TCodePageTable table;
  table.Names = {"PC437", "Katakana"};
  table.Values[0] = 3;
  table.Values[1] = 40;
  EXPECT_EQ(Shown(CodePageByName(table, "KATAKANA", "/x/config.ini")), "= 40");
  EXPECT_EQ(Shown(CodePageByName(table, "Greek", "/x/config.ini")),
            "no code page named 'Greek' in [CODEPAGE] of config.ini; it has 'PC437', 'Katakana'");
  EXPECT_EQ(Shown(CodePageByName(TCodePageTable{}, "Greek", "/x/config.ini")),
            "no code page named 'Greek': /x/config.ini has no [CODEPAGE] section (printset-cli codepages --add "
            "adds the sample's)");
  EXPECT_EQ(DefaultCodePage(table), 3);
  EXPECT_EQ(DefaultCodePage(TCodePageTable{}), 0);
  EXPECT_EQ(Shown(CodePageByValue("255")), "= 255");
  EXPECT_EQ(Shown(CodePageByValue("0x1F")), "= 31");
  EXPECT_EQ(Shown(CodePageByValue("256")), "--codepage-value takes a number from 0 to 255, not '256'");

  struct TRow {
    const char* Text;
    TReasonFrontEnd FrontEnd;
    std::string Expected;
  };
  const TRow rows[] = {
      {"240131", TReasonFrontEnd::CommandLine, "= '240131'"},
      {"12 4", TReasonFrontEnd::CommandLine, "= '12 4'"},
      {"", TReasonFrontEnd::CommandLine, "= ''"},
      {"      ", TReasonFrontEnd::Window, "= '      '"},
      {"1234567", TReasonFrontEnd::CommandLine, "--string takes at most six characters"},
      {"12a4", TReasonFrontEnd::CommandLine, "--string takes digits and blanks only"},
      {"12_4", TReasonFrontEnd::Window, "'12_4' holds other than digits and blanks"},
      {"1234567", TReasonFrontEnd::Window, "'1234567' is longer than six characters"},
  };
  for (const TRow& row : rows) EXPECT_EQ(Shown(CheckSetString(row.Text, row.FrontEnd)), row.Expected) << row.Text;
}

TEST(RequestChecks, LinkRateAndTarget) {
  EXPECT_EQ(LinkRateFromText(std::nullopt)->Rate, kDefaultBaudRate);
  EXPECT_TRUE(LinkRateFromText(std::nullopt)->SearchRates.empty());
  EXPECT_EQ(LinkRateFromText(" 19200 ")->Rate, 19200);
  const TChecked<TLinkRate> automatic = LinkRateFromText(" AUTO ");
  ASSERT_TRUE(automatic);
  EXPECT_EQ(automatic->Rate, kDefaultBaudRate);
  EXPECT_EQ(automatic->SearchRates, std::vector<int32_t>(kBaudRates.begin(), kBaudRates.end()));
  EXPECT_EQ(Shown(LinkRateFromText(std::string("fast"))), "--baud takes one of " + kRates + " or auto, not 'fast'");

  TLinkSettings link;
  link.PortMap = {{"COM2", "/dev/ttyUSB1"}};
  link.NetworkHost = "10.0.0.7";
  link.NetworkPort = 9101;
  // A blank around a typed name is never part of it, for every operation.
  const TLinkTarget target = PrinterTarget(" \tCOM2 ", SearchingEveryRate({38400, {}}), link);
  EXPECT_EQ(target.PortName, "COM2");
  EXPECT_EQ(target.BaudRate, 38400);
  EXPECT_EQ(target.PortMap, link.PortMap);
  EXPECT_EQ(target.Network.Host, "10.0.0.7");
  EXPECT_EQ(target.Network.Port, 9101);
  EXPECT_EQ(target.SearchRates.size(), kBaudRates.size());
  const TRequest search = RateSearchRequest();
  EXPECT_EQ(search.Operation(), "detect");
  EXPECT_EQ(search.Job().Code(), JobIdentifyPrinter);
}

}  // namespace printset
