// The requests as the core builds them: SET's exact block bytes for what either front
// end passes, PROGRAM's and DOWNLOAD's reads and refusals, the logo set's DOWNLOAD and
// its logo.bin.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/LocalTime.h"
#include "engine/Commands.h"
#include "engine/ParameterBlock.h"
#include "frontend/LogoRequest.h"
#include "frontend/SetRequest.h"
#include "frontend/TransferRequests.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {

namespace {

// The SHA-256 of "abc".
constexpr const char* kAbcSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

TCodePageTable Table() {
  TCodePageTable table;
  table.Names = {"PC437", "Katakana", "PC437"};
  table.Values[0] = 3;
  table.Values[1] = 40;
  table.Values[2] = 9;
  return table;
}

}  // namespace

TEST(RequestBuild, SetSendsTheBlockOfWhatWasChosen) {
  struct TRow {
    const char* What;
    TSetInput Input;
    std::vector<uint8_t> Block;  // empty: refused, with Refusal
    bool KeepsFoundRate;
    int32_t RateAfter;
    std::string Refusal;
  };
  TSetInput cli;  // printset-cli set --new-baud 115200 --codepage katakana --string 240131
  cli.NewRateText = "115200";
  cli.NewRate = 9600;
  cli.CodePageName = "katakana";
  cli.String = "240131";
  TSetInput window;  // the window: the box's text, the entry it stands on, the masked edit
  window.FrontEnd = TReasonFrontEnd::Window;
  window.NewRateText = " 19200";
  window.NewRateField = TRateField::WindowBox;
  window.CodePageEntry = 2;
  window.String = "12 4  ";
  TSetInput automatic;  // --baud auto without --new-baud, the code page by value
  automatic.NewRate = 9600;
  automatic.KeepFoundRate = true;
  automatic.Ports = {"COM1", "/dev/ttyS3"};
  automatic.CodePageValueText = "0x1F";
  automatic.String = "9";
  TSetInput first;  // nothing chosen: the first code page
  first.NewRate = 4800;
  first.String = "";
  TSetInput overUdp = automatic;
  overUdp.Ports = {"COM1", "TCP/IP:10.0.0.7"};
  TSetInput badRate = cli;
  badRate.NewRateText = "1200";
  TSetInput badString = window;
  badString.String = "1234567";
  const TRow rows[] = {
      {"cli", cli, {0x00, 0x01, 0xC2, 0x00, 40, 0x24, 0x01, 0x31}, false, 115200, ""},
      {"window", window, {0x00, 0x00, 0x4B, 0x00, 9, 0x12, 0x04, 0x00}, false, 19200, ""},
      {"auto", automatic, {0x00, 0x00, 0x25, 0x80, 0x1F, 0x90, 0x00, 0x00}, true, 0, ""},
      {"first", first, {0x00, 0x00, 0x12, 0xC0, 3, 0x00, 0x00, 0x00}, false, 4800, ""},
      {"udp", overUdp, {}, false, 0,
       "set with --baud auto over UDP (TCP/IP:10.0.0.7) needs --new-baud: the printer's serial rate is not found "
       "over UDP"},
      {"rate", badRate, {}, false, 0,
       "--new-baud takes one of 4800, 9600, 19200, 38400, 57600, 115200, not '1200'"},
      {"string", badString, {}, false, 0, "'1234567' is longer than six characters"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.What);
    const TChecked<TRequest> request = SetRequest(row.Input, Table(), "/x/config.ini");
    if (row.Block.empty()) {
      ASSERT_FALSE(request);
      EXPECT_EQ(request.Refusal().Kind, TRefusalKind::Usage);
      EXPECT_EQ(request.Refusal().Text, row.Refusal);
      continue;
    }
    ASSERT_TRUE(request) << request.Refusal().Text;
    EXPECT_EQ(request->Operation(), "set");
    EXPECT_EQ(request->Job().Code(), JobSetParameters);
    EXPECT_EQ(request->Job().Block(), row.Block);
    EXPECT_EQ(request->Job().Command(), kCommandSetParameters);
    EXPECT_EQ(request->Job().Argument(), 0u);
    EXPECT_EQ(request->Job().KeepsFoundRate(), row.KeepsFoundRate);
    EXPECT_EQ(request->RateAfter(), row.RateAfter);
    EXPECT_EQ(request->Bytes(), 8u);
    EXPECT_TRUE(request->Inputs().empty());
  }
  // No string given: today's date, as YYMMDD.
  TSetInput today = first;
  today.String.reset();
  const TChecked<TRequest> dated = SetRequest(today, Table(), "/x/config.ini");
  ASSERT_TRUE(dated);
  const TParameterBlock expected = BuildParameterBlock("4800", 3, TodayAsYymmdd());
  EXPECT_EQ(dated->Job().Block(), std::vector<uint8_t>(expected.begin(), expected.end()));
}

TEST(RequestBuild, ProgramAndDownloadReadEachFileOnceOrRefuse) {
  const TTempDir dir;
  const std::vector<uint8_t> image = ValidFirmwareImage(1024);
  WriteBytesFile(dir.File("good.img"), image);
  std::vector<uint8_t> broken = image;
  broken[100] ^= 1;  // the word sum is no longer 0
  WriteBytesFile(dir.File("bad.img"), broken);
  WriteTextFile(dir.File("abc.bin"), "abc");
  WriteBytesFile(dir.File("font.bin"), PatternBytes(300));

  const TChecked<TRequest> program = ProgramRequest(dir.File("good.img"));
  ASSERT_TRUE(program) << program.Refusal().Text;
  EXPECT_EQ(program->Operation(), "program");
  EXPECT_EQ(program->Job().Code(), JobProgramFirmware);
  EXPECT_EQ(*program->Job().Image(), image);
  EXPECT_EQ(program->Bytes(), image.size());
  EXPECT_EQ(program->StopMessage(), "the firmware is then incomplete: program the image again");
  ASSERT_EQ(program->Inputs().size(), 1u);
  EXPECT_EQ(program->Inputs()[0].Name, dir.File("good.img"));
  EXPECT_EQ(program->Inputs()[0].Size, image.size());

  const TChecked<TRequest> invalid = ProgramRequest(dir.File("bad.img"));
  ASSERT_FALSE(invalid);
  EXPECT_EQ(invalid.Refusal().Kind, TRefusalKind::InvalidImage);
  EXPECT_EQ(invalid.Refusal().Text, "Invalid file");
  EXPECT_EQ(invalid.Refusal().Detail, dir.File("bad.img") +
                                          " is not a valid firmware image (at least 256 bytes, length word at offset "
                                          "4 equal to the file size, 32-bit word sum 0)");
  // The image dialog opens where it was last left while that folder is there.
  EXPECT_EQ(ImageDialogFolder(dir.Path(), "/config/"), dir.Path());
  EXPECT_EQ(ImageDialogFolder(dir.File("none/"), "/config/"), "/config/");
  EXPECT_EQ(ImageDialogFolder(dir.File("abc.bin"), "/config/"), "/config/");
  EXPECT_EQ(ImageDialogFolder("", "/config/"), "/config/");

  const TChecked<TRequest> missing = ProgramRequest(dir.File("none.img"));
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.Refusal().Kind, TRefusalKind::Unreadable);
  EXPECT_EQ(missing.Refusal().Text, dir.File("none.img") + ": No such file or directory");

  const TChecked<TRequest> download = DownloadRequest({{dir.File("abc.bin"), 45, 0}, {dir.File("font.bin"), 0x30, 0x1000}});
  ASSERT_TRUE(download) << download.Refusal().Text;
  EXPECT_EQ(download->Operation(), "download");
  EXPECT_EQ(download->Bytes(), 303u);
  const std::vector<TDownloadEntry>& entries = download->Job().Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].Path, dir.File("font.bin"));
  EXPECT_EQ(entries[1].Name, "font.bin");
  EXPECT_EQ(entries[1].Command, 0x30);
  EXPECT_EQ(entries[1].Base, 0x1000u);
  ASSERT_TRUE(entries[1].Bytes);
  EXPECT_EQ(*entries[1].Bytes, PatternBytes(300));
  ASSERT_EQ(download->Inputs().size(), 2u);
  EXPECT_EQ(download->Inputs()[0].Sha256, kAbcSha256);
  EXPECT_EQ(download->Inputs()[0].Size, 3u);

  const TChecked<TRequest> partly = DownloadRequest({{dir.File("abc.bin"), 45, 0}, {dir.File("gone.bin"), 45, 0}});
  ASSERT_FALSE(partly);
  EXPECT_EQ(partly.Refusal().Kind, TRefusalKind::Unreadable);
  EXPECT_EQ(partly.Refusal().Text, dir.File("gone.bin") + ": No such file or directory");
  const TChecked<TRequest> none = DownloadRequest({});
  ASSERT_FALSE(none);
  EXPECT_EQ(none.Refusal().Kind, TRefusalKind::Usage);
}

TEST(RequestBuild, LogoSetIsSavedAndSentOnlyWhenComplete) {
  const TTempDir dir;
  const std::string folder = dir.Path() + "/";
  WriteTextFile(dir.File("logo.bin"), "the last good set");
  TLogoSettings settings;
  settings.LogoCommand = 0x2D;
  settings.LogoPara = 0x40000;
  const std::vector<uint8_t> set = PatternBytes(700);

  const TChecked<TRequest> incomplete = LogoDownloadRequest(set, false, settings, folder);
  ASSERT_FALSE(incomplete);
  EXPECT_EQ(incomplete.Refusal().Kind, TRefusalKind::IncompleteLogoSet);
  EXPECT_EQ(incomplete.Refusal().Text,
            "a picture of the list failed, so the logo set is incomplete; nothing was sent");
  EXPECT_EQ(ReadTextFile(dir.File("logo.bin")), "the last good set");

  const TChecked<TRequest> request = LogoDownloadRequest(set, true, settings, folder);
  ASSERT_TRUE(request) << request.Refusal().Text;
  EXPECT_EQ(request->Operation(), "logo download");
  EXPECT_EQ(request->Bytes(), set.size());
  const std::string saved = ReadTextFile(dir.File("logo.bin"));
  EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.end()), set);
  ASSERT_EQ(request->Job().Entries().size(), 1u);
  const TDownloadEntry& entry = request->Job().Entries()[0];
  EXPECT_EQ(entry.Path, folder + "logo.bin");
  EXPECT_EQ(entry.Name, "logo.bin");
  EXPECT_EQ(entry.Command, 0x2D);
  EXPECT_EQ(entry.Base, 0x40000u);
  ASSERT_TRUE(entry.Bytes);
  EXPECT_EQ(*entry.Bytes, set);
  ASSERT_EQ(request->Inputs().size(), 1u);
  EXPECT_EQ(request->Inputs()[0].Name, folder + "logo.bin");

  const std::string gone = dir.Path() + "/no-such-folder/";
  const TChecked<TRequest> unsaved = LogoDownloadRequest(set, true, settings, gone);
  ASSERT_FALSE(unsaved);
  EXPECT_EQ(unsaved.Refusal().Kind, TRefusalKind::CannotSave);
  EXPECT_EQ(unsaved.Refusal().Text.rfind("Cannot create file \"" + gone + "logo.bin\". ", 0), 0u)
      << unsaved.Refusal().Text;
}

}  // namespace printset
