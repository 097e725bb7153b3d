// The Windows window, printset.exe, driven under Wine as an operator drives it, against
// native simulated printers mapped to COM ports (window-tests.sh starts them). Each test
// starts the real program in a folder of its own, portable there. What the window must
// say and send is asked of the core, which decides it for both windows and is tested on
// its own; here the window is held to showing it and sending it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Text.h"
#include "engine/ResultCodes.h"
#include "frontend/FrontEndView.h"
#include "frontend/OperatorChecks.h"
#include "frontend/SetRequest.h"
#include "frontend/ShownOutcome.h"
#include "frontend/ShownRefusal.h"
#include "frontend/TransferRequests.h"
#include "settings/AppPaths.h"
#include "settings/LogoListSettings.h"
#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"
#include "settings/WindowSettings.h"
#include "support/BmpFile.h"
#include "support/PeerPool.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/TestPrinter.h"
#include "support/wine/DrivenWindow.h"
#include "support/wine/WindowFit.h"
#include "ui/win32/ControlIds.h"

namespace printset {
namespace {

using namespace win32;
using TBytes = std::vector<uint8_t>;

constexpr int kPagePara = 0;
constexpr int kPageUpdate = 1;
constexpr int kPageNvram = 2;
// The operator's boxes are captioned with the program's file name up to its first dot.
constexpr const char* kBoxCaption = "printset";
// A firmware image of 64 blocks: with the printer's reply delay the transfer lasts long
// enough for the status bar to show progress between its start and its end.
constexpr size_t kImageSize = 64 * 256;
// The search tries each rate in turn, each with its own deadline.
constexpr uint32_t kSearchMs = 60000;

// Windows' separators in `path`.
std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// What a message box shows for an outcome: its title, and beneath a blank line the rest.
std::string BoxText(const TShownOutcome& shown) {
  const std::string beneath = shown.Beneath();
  return beneath.empty() ? shown.Title : shown.Title + "\n\n" + beneath;
}

// The box the core has the window show for a refused request.
struct TExpectedBox final : TFrontEndView {
  std::string Caption;
  std::string Text;

  void ShowMessage(const std::string& title, const std::string& beneath) override {
    Caption = kBoxCaption;
    TShownOutcome shown;
    shown.Title = title;
    shown.Reason = beneath;
    Text = BoxText(shown);
  }
  bool AskChoice(const std::string&, const std::string&, const std::string&) override { return false; }
  void ShowError(const std::string& caption, const std::string& text) override {
    Caption = caption.empty() ? kBoxCaption : caption;
    Text = text;
  }
  void PlaySound(const std::string&) override {}
  void ShowProgress(int32_t, int32_t, const std::string&) override {}
  void ShowStatusText(const std::string&) override {}
  void SetLinkRate(int32_t) override {}
  void SetBusy(bool) override {}
  TChosenFile ChooseImageFile(const std::string&) override { return {}; }
};

TExpectedBox BoxFor(const TRefusal& refusal) {
  TExpectedBox box;
  ShowRefusal(box, refusal);
  return box;
}

TJobOutcome Answered(int32_t rate) {
  TJobOutcome outcome;
  outcome.ResultCode = kResultOk;
  outcome.BaudRate = rate;
  return outcome;
}

// Runs printset-cli.exe with `arguments`, within a deadline; its exit code.
DWORD RunCli(const std::string& arguments) {
  const std::string program = PeerSetting("PRINTSET_TEST_CLI");
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started))
    throw std::runtime_error("cannot start " + program);
  CloseHandle(started.hThread);
  const bool ended = WaitForSingleObject(started.hProcess, TDrivenWindow::kStepMs) == WAIT_OBJECT_0;
  DWORD code = 1;
  if (!ended) TerminateProcess(started.hProcess, 1);
  else GetExitCodeProcess(started.hProcess, &code);
  CloseHandle(started.hProcess);
  if (!ended) throw std::runtime_error("printset-cli.exe " + arguments + " did not end");
  return code;
}

// A progress text of the status bar: "Finished: 25.0%(16/64)".
struct TProgress {
  int Done = -1;
  int Total = -1;
};

TProgress ParseProgress(const std::string& text) {
  TProgress progress;
  int whole = 0;
  int tenth = 0;
  if (std::sscanf(text.c_str(), "Finished: %d.%d%%(%d/%d)", &whole, &tenth, &progress.Done, &progress.Total) != 4)
    return {};
  return progress;
}

class WindowDriver : public ::testing::Test {
 protected:
  TTestPrinter Printer;
  TTempDir Folder;
  std::unique_ptr<TDrivenWindow> Window;

  std::string Path(const std::string& name) const { return WindowsPath(Folder.File(name)); }
  std::string ConfigPath() const { return Path(kConfigFileName); }
  // config.ini: the window's port and link rate, then `more`.
  void WriteConfig(const std::string& port, const std::string& more = "") const {
    WriteTextFile(ConfigPath(), "[WINDOW]\r\nPORT=" + port + "\r\nBAUD=9600\r\n" + more);
  }
  void Open() {
    Window = std::make_unique<TDrivenWindow>(PeerSetting("PRINTSET_TEST_WINDOW"), WindowsPath(Folder.Path()));
  }
  // Pictures of different sizes and patterns at `names`, relative to the folder.
  void WritePictures(const std::vector<std::string>& names) const {
    std::filesystem::create_directories(Folder.File("pics"));
    for (size_t i = 0; i < names.size(); ++i) {
      TPicture picture{24 + 16 * static_cast<int>(i), 16, {}};
      for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
          picture.Pixels.push_back(((x / 3 + y / (2 + static_cast<int>(i))) % 2) != 0 ? 0x000000u : 0xFFFFFFu);
      WriteTextFile(Folder.File(names[i]), EncodeBmp(picture, {}));
    }
  }
  // config.ini's [LOGOFILES] listing `names`.
  static std::string LogoFiles(const std::vector<std::string>& names) {
    std::string section = "[LOGOFILES]\r\nCOUNT=" + std::to_string(names.size()) + "\r\n";
    for (size_t i = 0; i < names.size(); ++i) section += "FILE" + std::to_string(i + 1) + "=" + names[i] + "\r\n";
    return section;
  }
  // DOWNLOAD: OK shown, and the printer holds at [LOGO]'s PARA the set printset-cli.exe
  // packs of `names` with the same [LOGO] values.
  void ExpectDownloadOf(const std::vector<std::string>& names) {
    Window->Click(kIdButtonDownload);
    const TDrivenBox outcome = Window->WaitForMessageBox("the outcome of DOWNLOAD");
    EXPECT_EQ(outcome.Text, BoxText(OperationOutcome(Answered(9600), {Printer.PortName(), 9600, {}, {}, {}})));
    Window->Dismiss(outcome);
    std::string arguments = "--quiet --folder \"" + WindowsPath(Folder.Path()) + "\" logo pack -o \"" + Path("cli.bin") + "\"";
    for (const std::string& name : names) arguments += " \"" + Path(name) + "\"";
    ASSERT_EQ(RunCli(arguments), 0u);
    const std::string packed = ReadTextFile(Path("cli.bin"));
    ASSERT_FALSE(packed.empty());
    EXPECT_EQ(Printer.DownloadRange(static_cast<uint32_t>(ReadLogoSettings(TProfileFile(ConfigPath())).LogoPara),
                                    packed.size()),
              TBytes(packed.begin(), packed.end()));
  }
  // The text of control `id` of a dialog of the window.
  std::string DialogText(const TDrivenBox& box, int id) const {
    HWND control = GetDlgItem(box.Handle, id);
    if (control == nullptr) throw std::runtime_error("the box has no control " + std::to_string(id));
    return Window->Text(control);
  }
};

TEST_F(WindowDriver, SetSendsTheBlockOfTheChosenValuesAndTheTopRateFollows) {
  WriteConfig(Printer.PortName(), "[CODEPAGE]\r\nPC437=0\r\nKATAKANA=1\r\nPC850=2\r\n");
  Open();
  Window->Choose(kIdComboSetBaudRate, "115200");
  Window->Choose(kIdComboCodePage, "PC850");
  Window->Type(kIdEditString, "12 45 ");

  Window->Click(kIdButtonSet);
  const TDrivenBox box = Window->WaitForMessageBox("the outcome of SET");

  const TLinkTarget target{Printer.PortName(), 9600, {}, {}, {}};
  EXPECT_EQ(box.Caption, kBoxCaption);
  EXPECT_EQ(box.Text, BoxText(OperationOutcome(Answered(9600), target, 115200)));
  EXPECT_FALSE(box.HasIcon);
  Window->Dismiss(box);
  EXPECT_EQ(Trim(Window->Text(kIdComboBaud)), "115200");

  TSetInput input;
  input.FrontEnd = TReasonFrontEnd::Window;
  input.NewRateText = "115200";
  input.NewRateField = TRateField::WindowBox;
  input.CodePageEntry = 2;
  input.String = "12 45 ";
  const TChecked<TRequest> request = SetRequest(input, ReadCodePages(TProfileFile(ConfigPath())), ConfigPath());
  ASSERT_TRUE(request) << request.Refusal().Text;
  EXPECT_EQ(Printer.ParameterBlock(), request->Job().Block());
}

TEST_F(WindowDriver, ARateOrCodePageThatIsNoneIsRefusedInTheCoresWordsAndNothingIsSent) {
  WriteConfig(Printer.PortName(), "[CODEPAGE]\r\nPC437=0\r\nKATAKANA=1\r\n");
  const struct {
    const char* Rate;
    const char* CodePage;
    TRefusal Refusal;
  } rows[] = {
      {"12345", "KATAKANA", CheckBaudRate("12345", TRateField::WindowBox).Refusal()},
      {"9600", "PC999", CodePageEntry({"PC437", "KATAKANA"}, 0, "PC999").Refusal()},
  };
  Open();
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.Rate) + " " + row.CodePage);
    Window->Type(kIdComboSetBaudRate, row.Rate);
    Window->Type(kIdComboCodePage, row.CodePage);
    Window->Click(kIdButtonSet);
    const TDrivenBox box = Window->WaitForMessageBox("the box refusing SET");
    const TExpectedBox expected = BoxFor(row.Refusal);
    EXPECT_EQ(box.Caption, expected.Caption);
    EXPECT_EQ(box.Text, expected.Text);
    EXPECT_TRUE(box.HasIcon);
    Window->Dismiss(box);
  }
  EXPECT_EQ(Printer.Requests(), std::vector<TPrinterRecord>{});
}

TEST_F(WindowDriver, ProgramRefusesAnInvalidImageThenSendsOneWithProgress) {
  const TBytes image = ValidFirmwareImage(kImageSize);
  TBytes broken = image;
  broken[700] ^= 0x01;
  WriteBytesFile(Path("broken.bin"), broken);
  WriteBytesFile(Path("firmware.bin"), image);
  WriteConfig(Printer.PortName());
  Open();
  Window->ShowPage(kIdPageControl, kPageUpdate);

  Window->Click(kIdButtonProgram);
  Window->ChooseFile(Path("broken.bin"), "PROGRAM's Open dialog");
  const TDrivenBox invalid = Window->WaitForMessageBox("the box refusing broken.bin");
  const TExpectedBox expected = BoxFor(ProgramRequest(Path("broken.bin")).Refusal());
  EXPECT_EQ(invalid.Caption, expected.Caption);
  EXPECT_EQ(invalid.Text, expected.Text);
  EXPECT_TRUE(invalid.HasIcon);
  Window->Dismiss(invalid);
  EXPECT_EQ(Printer.Requests(), std::vector<TPrinterRecord>{});

  Window->Click(kIdButtonProgram);
  Window->ChooseFile(Path("firmware.bin"), "PROGRAM's Open dialog");
  std::vector<std::string> shown;
  WaitUntil("the outcome of PROGRAM", TDrivenWindow::kStepMs, [&] {
    const std::string text = Window->StatusPanel(kIdStatusBar, 0);
    if (shown.empty() || shown.back() != text) shown.push_back(text);
    return Window->AnyDialogShown();
  });
  const TDrivenBox outcome = Window->WaitForMessageBox("the outcome of PROGRAM");
  EXPECT_EQ(outcome.Text, BoxText(OperationOutcome(Answered(9600), {Printer.PortName(), 9600, {}, {}, {}})));
  Window->Dismiss(outcome);

  // The progress moved: a value between start and end, never back, and the end last.
  const int blocks = static_cast<int>(kImageSize / 256);
  bool between = false;
  int last = 0;
  for (const std::string& text : shown) {
    const TProgress progress = ParseProgress(text);
    if (progress.Total < 0) continue;
    EXPECT_EQ(progress.Total, blocks) << text;
    EXPECT_GE(progress.Done, last) << text;
    between = between || (progress.Done > 0 && progress.Done < blocks);
    last = progress.Done;
  }
  EXPECT_TRUE(between) << "seen: " << ::testing::PrintToString(shown);
  EXPECT_EQ(ParseProgress(Window->StatusPanel(kIdStatusBar, 0)).Done, blocks);
  EXPECT_EQ(Printer.FirmwareImage(), image);
}

// The list as config.ini left it, one more picture through ADD, and DOWNLOAD; at close
// the list and the top boxes are written back.
TEST_F(WindowDriver, DownloadSendsTheSetLogoPackMakesAndCloseWritesTheSettingsBack) {
  const std::vector<std::string> pictures = {"pics/a.bmp", "pics/b.bmp"};
  WritePictures(pictures);
  WriteConfig(Printer.PortName(), LogoFiles({pictures[0]}));
  Open();
  Window->ShowPage(kIdPageControl, kPageNvram);
  ASSERT_EQ(Window->ListCount(kIdListLogo), 1);

  Window->Click(kIdButtonAddLogo);
  Window->ChooseFile(Path(pictures[1]), "ADD's Open dialog");
  WaitUntil(pictures[1] + " in the list", TDrivenWindow::kStepMs, [&] { return Window->ListCount(kIdListLogo) == 2; });
  ExpectDownloadOf(pictures);
  Window->Type(kIdComboPort, "COM7");
  Window->Choose(kIdComboBaud, "19200");
  EXPECT_EQ(Window->Close(), 0u);

  const TProfileFile config(ConfigPath());
  const TWindowSettings window = ReadWindowSettings(config);
  EXPECT_EQ(window.Port, "COM7");
  EXPECT_EQ(window.BaudRate, "19200");
  EXPECT_EQ(ReadLogoList(config), pictures);
}

// DELETE in the list's pop-up menu takes the selected entry out, the others stay in
// order, and DOWNLOAD sends the set of those; the last entry goes the same way.
TEST_F(WindowDriver, DeleteInThePopUpMenuTakesTheSelectedPictureOut) {
  const std::vector<std::string> pictures = {"pics/a.bmp", "pics/b.bmp", "pics/c.bmp"};
  WritePictures(pictures);
  WriteConfig(Printer.PortName(), LogoFiles(pictures));
  Open();
  Window->ShowPage(kIdPageControl, kPageNvram);
  const std::vector<std::string> shown = Window->ListItems(kIdListLogo);
  ASSERT_EQ(shown.size(), 3u);
  // The menu holds ADD, a separator and DELETE: two steps down reach DELETE.
  const auto deleteEntry = [&](int index) {
    Window->SelectListItem(kIdListLogo, index);
    const HWND menu = Window->OpenContextMenu(kIdListLogo);
    const int before = Window->ListCount(kIdListLogo);
    Window->PressMenuKeys(menu, {VK_DOWN, VK_DOWN, VK_RETURN});
    WaitUntil("an entry to leave the list", TDrivenWindow::kStepMs,
              [&] { return Window->ListCount(kIdListLogo) < before; });
  };

  deleteEntry(1);
  EXPECT_EQ(Window->ListItems(kIdListLogo), (std::vector<std::string>{shown[0], shown[2]}));
  ExpectDownloadOf({pictures[0], pictures[2]});
  deleteEntry(1);
  EXPECT_EQ(Window->ListItems(kIdListLogo), std::vector<std::string>{shown[0]});
}

// Every text the window shows fits its control and no two controls overlap: on each page,
// in a box refusing SET and in the box offering the search. window-tests.sh runs this at
// 100 % and again at 200 %.
TEST_F(WindowDriver, EveryTextFitsItsControlOnEachPageAndBox) {
  const std::vector<std::string> pictures = {"pics/a.bmp"};
  WritePictures(pictures);
  WriteConfig(PeerSetting("PRINTSET_TEST_SEARCH_COM"), LogoFiles(pictures));
  Open();
  const std::vector<std::string> fit;
  for (const int page : {kPageNvram, kPageUpdate, kPagePara}) {
    SCOPED_TRACE("page " + std::to_string(page));
    Window->ShowPage(kIdPageControl, page);
    EXPECT_EQ(Misfits(*Window, Window->Main()), fit);
  }

  Window->Type(kIdComboSetBaudRate, "12345");
  Window->Click(kIdButtonSet);
  const TDrivenBox refusal = Window->WaitForMessageBox("the box refusing SET");
  EXPECT_EQ(Misfits(*Window, refusal.Handle), fit) << "the box refusing SET";
  Window->Dismiss(refusal);

  Window->Choose(kIdComboSetBaudRate, "9600");
  Window->Click(kIdButtonSet);
  const TDrivenBox offer = Window->WaitForDialog(kIdChoiceAction, "the ERROR box offering the search", kSearchMs);
  EXPECT_EQ(Misfits(*Window, offer.Handle), fit) << "the box offering the search";
  Window->Dismiss(offer);
}

// The printer listens at another rate than the window's: ERROR, with the search offered;
// the search finds it and the top rate follows.
TEST_F(WindowDriver, ASilentPrinterOffersTheSearchWhichFindsItsRate) {
  const std::string port = PeerSetting("PRINTSET_TEST_SEARCH_COM");
  const int32_t rate = std::stoi(PeerSetting("PRINTSET_TEST_SEARCH_RATE"));
  const TLinkTarget target{port, 9600, {}, {}, {}};
  WriteConfig(port);
  Open();
  Window->Choose(kIdComboSetBaudRate, "9600");
  Window->Click(kIdButtonSet);

  const TDrivenBox offer = Window->WaitForDialog(kIdChoiceAction, "the ERROR box offering the search", kSearchMs);
  TJobOutcome silent;
  silent.ResultCode = kResultNoValidReply;
  const TShownOutcome error = OperationOutcome(silent, target);
  ASSERT_TRUE(error.OfferSearch);
  EXPECT_EQ(offer.Caption, kBoxCaption);
  EXPECT_EQ(DialogText(offer, kIdChoiceText), error.Title);
  EXPECT_EQ(DialogText(offer, kIdChoiceReason), error.Beneath());
  EXPECT_EQ(DialogText(offer, kIdChoiceAction), kSearchRatesButton);

  Window->Dismiss(offer, kIdChoiceAction);
  const TDrivenBox found = Window->WaitForMessageBox("the outcome of the search", kSearchMs);
  EXPECT_EQ(found.Text, BoxText(SearchOutcome(Answered(rate), target)));
  Window->Dismiss(found);
  EXPECT_EQ(Trim(Window->Text(kIdComboBaud)), std::to_string(rate));
}

}  // namespace
}  // namespace printset
