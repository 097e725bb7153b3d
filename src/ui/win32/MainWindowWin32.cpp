#include "ui/win32/MainWindowWin32.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/LocalTime.h"
#include "frontend/LogoRequest.h"
#include "frontend/OperatorChecks.h"
#include "frontend/SetRequest.h"
#include "frontend/ShownRefusal.h"
#include "frontend/StationRecord.h"
#include "frontend/TransferRequests.h"
#include "logo/LogoSet.h"
#include "ports/PortEntries.h"
#include "ports/PortList.h"
#include "report/ProgressText.h"
#include "settings/BaudRates.h"
#include "settings/LinkSettings.h"
#include "settings/LogoListSettings.h"
#include "settings/ProfileFile.h"
#include "settings/WindowSettings.h"
#include "ui/win32/BoxesWin32.h"
#include "ui/win32/ComboBoxWin32.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/DpiWin32.h"
#include "ui/win32/LogoPageWin32.h"
#include "ui/win32/ResourceIds.h"
#include "ui/win32/StatusBarWin32.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace printset::win32 {

namespace {

constexpr const char* kWindowClass = "printset.MainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
constexpr int kWindowLeft = 192;
constexpr int kWindowTop = 114;
// Shown in the status bar while config.ini has no [CODEPAGE] section, until the first
// operation or change of the logo list.
constexpr const char* kNoCodePagesHint = "No code pages: printset-cli codepages --add";
// The longest texts each box is made wide enough for; longer ones are whole in the box's
// list.
constexpr const char* kPortWidthText = "COM256";
constexpr const char* kBaudWidthText = "115200";
constexpr const char* kCodePageWidthText = "PC863 (Canadian-French)";
constexpr const char* kStringWidthText = "000000";
// The STRING box takes six characters, each a digit or a blank.
constexpr int kStringLength = 6;
// The progress and space texts of status panel 0 at their longest: 16 MiB transferred,
// the printer's room for logos at 16 MiB.
constexpr int32_t kLongestTransfer = 16 * 1024 * 1024;
// Lines a combo box's list shows before it scrolls.
constexpr int kComboListLines = 16;
// The pages, in the order of their tabs.
constexpr int kParaPage = 0;
constexpr int kUpdatePage = 1;
constexpr int kNvramPage = 2;
constexpr int kPageCount = 3;
const char* const kPageCaptions[kPageCount] = {"PARA", "UPDATE", "NVRAM"};
// The tab control's subclass id.
constexpr UINT_PTR kTabSubclass = 1;

HWND NewControl(HWND window, const char* className, const char* text, DWORD style, int id, DWORD exStyle = 0) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, window,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

// A label: never a tab stop, and "&" in it is a character, not a mnemonic.
HWND NewLabel(HWND window, const char* text, int id) {
  return NewControl(window, "STATIC", text, SS_LEFT | SS_NOPREFIX, id);
}

// An editable box whose typed text is never added to its items.
HWND NewComboBox(HWND window, int id) {
  return NewControl(window, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, id,
                    WS_EX_CLIENTEDGE);
}

HWND NewButton(HWND window, const char* caption, int id) {
  return NewControl(window, "BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, id);
}

void Place(HWND control, int x, int y, int width, int height) {
  static_cast<void>(SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

int WindowHeight(HWND control) {
  RECT rect = {};
  return GetWindowRect(control, &rect) ? rect.bottom - rect.top : 0;
}

bool IsPushButton(HWND control) {
  char className[16] = {};
  if (GetClassNameA(control, className, sizeof(className)) == 0 || lstrcmpiA(className, "Button") != 0) return false;
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The tab control is painted under the page's controls, which are its siblings: whatever
// of it is painted again, the controls standing on it are painted again after it.
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message != WM_PAINT) return DefSubclassProc(tab, message, wParam, lParam);
  RECT update = {};
  const bool hasUpdate = GetUpdateRect(tab, &update, FALSE) != 0;
  const LRESULT result = DefSubclassProc(tab, message, wParam, lParam);
  if (!hasUpdate) return result;
  static_cast<void>(MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&update), 2));
  for (HWND sibling = GetWindow(tab, GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    RECT rect = {};
    RECT common = {};
    if (IsWindowVisible(sibling) && GetWindowRect(sibling, &rect) && IntersectRect(&common, &rect, &update))
      static_cast<void>(RedrawWindow(sibling, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN));
  }
  return result;
}

}  // namespace

TMainWindowWin32::TMainWindowWin32(const TAppPaths& paths)
    : Paths(paths), View(Controls, paths), Runner(View, View, paths.StateFolder) {}

// The settings are written back at close, where a failure can still be shown.
TMainWindowWin32::~TMainWindowWin32() {
  View.Detach();
  if (Font) static_cast<void>(DeleteObject(Font));
}

template <typename THandler>
void TMainWindowWin32::Guarded(THandler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    std::string text = error.what();
    if (text.empty() || text.back() != '.') text += '.';
    ShowErrorBox(Controls.Window, "", text);
  }
}

bool TMainWindowWin32::Create(int showCommand) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX common = {};
  common.dwSize = sizeof(common);
  common.dwICC = ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES;
  static_cast<void>(InitCommonControlsEx(&common));

  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  windowClass.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(PRINTSET_ICON), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(PRINTSET_ICON), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  const HWND window = CreateWindowExA(kWindowExStyle, kWindowClass, kWindowCaption, kWindowStyle, kWindowLeft,
                                      kWindowTop, 0, 0, nullptr, nullptr, instance, this);
  if (!window) return false;
  Dpi = WindowDpi(window);
  CreateControls();
  FormCreate();
  LayOut();
  ShowPage(kParaPage);
  static_cast<void>(ShowWindow(window, showCommand));
  static_cast<void>(UpdateWindow(window));
  static_cast<void>(SetFocus(Controls.ComboPort));
  Restoring = true;
  LogoPage->RestoreList(ReadLogoList(TProfileFile(Paths.ConfigFile())));
  Restoring = false;
  return true;
}

// Created in focus order: the dialog navigation follows it. Each label just before its box.
void TMainWindowWin32::CreateControls() {
  const HWND window = Controls.Window;
  LabelPort = NewLabel(window, "PORT:", kIdLabelPort);
  Controls.ComboPort = NewComboBox(window, kIdComboPort);
  LabelBaud = NewLabel(window, "BAUD RATE:", kIdLabelBaud);
  Controls.ComboBaud = NewComboBox(window, kIdComboBaud);
  Controls.PageControl = NewControl(window, WC_TABCONTROLA, "", WS_TABSTOP | WS_VISIBLE, kIdPageControl);
  for (int page = 0; page < kPageCount; ++page) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[page]);
    static_cast<void>(SendMessageA(Controls.PageControl, TCM_INSERTITEMA, static_cast<WPARAM>(page),
                                   reinterpret_cast<LPARAM>(&item)));
  }
  static_cast<void>(SetWindowSubclass(Controls.PageControl, TabProc, kTabSubclass, 0));
  Controls.ButtonSet = NewButton(window, "SET", kIdButtonSet);
  LabelSetBaudRate = NewLabel(window, "BAUD RATE:", kIdLabelSetBaudRate);
  Controls.ComboSetBaudRate = NewComboBox(window, kIdComboSetBaudRate);
  LabelCodePage = NewLabel(window, "CODE PAGE", kIdLabelCodePage);
  Controls.ComboCodePage = NewComboBox(window, kIdComboCodePage);
  LabelString = NewLabel(window, "STRING", kIdLabelString);
  Controls.EditString = NewControl(window, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, kIdEditString, WS_EX_CLIENTEDGE);
  static_cast<void>(SendMessageA(Controls.EditString, EM_LIMITTEXT, kStringLength, 0));
  Controls.ButtonProgram = NewButton(window, "PROGRAM", kIdButtonProgram);
  LogoPage = std::make_unique<TLogoPageWin32>(window, Paths.ConfigFolder);
  Controls.LogoPage = LogoPage.get();
  Controls.StatusBar = CreateStatusBar(window, kIdStatusBar);

  for (HWND control : {LabelPort, Controls.ComboPort, LabelBaud, Controls.ComboBaud})
    static_cast<void>(ShowWindow(control, SW_SHOW));
  RefreshPorts();
  static_cast<void>(SendMessageA(Controls.ComboPort, CB_SETCURSEL, 0, 0));
  for (HWND box : {Controls.ComboBaud, Controls.ComboSetBaudRate}) {
    SetComboItems(box, BaudRateItems());
    ShowComboText(box, BaudRateItem(kDefaultBaudRate));
  }
  LogoPage->SetSpaceTextHandler([this](const std::string& text) {
    // A list restored empty says nothing: the status bar stays as it starts.
    if (Restoring && LogoPage->List().Count() == 0) return;
    HideHint();
    SetStatusPanelText(Controls.StatusBar, kProgressPanel, text);
  });
  LogoPage->SetDownloadHandler([this] { Guarded([this] { btLOGOClick(); }); });
  View.SetJobStartedHandler([this] { HideHint(); });
}

void TMainWindowWin32::FormCreate() {
  static_cast<void>(SetWindowTextA(Controls.EditString, TodayAsYymmdd().c_str()));

  const TProfileFile profile(Paths.ConfigFile());
  LogoPage->SetSettings(ReadLogoSettings(profile));
  CodePages = ReadCodePages(profile);
  SetComboItems(Controls.ComboCodePage, CodePages.Names);
  if (!CodePages.Names.empty()) static_cast<void>(SendMessageA(Controls.ComboCodePage, CB_SETCURSEL, 0, 0));
  if (!profile.HasSection(kCodePageSection)) {
    Hint = kNoCodePagesHint;
    ShowStatusHint(Controls.StatusBar, Hint);
  }

  Runner.SetSettings(ReadLinkSettings(profile), KeptRuns(profile));

  const TWindowSettings window = ReadWindowSettings(profile);
  if (!window.Port.empty()) ShowComboText(Controls.ComboPort, window.Port);
  if (!window.BaudRate.empty()) ShowComboText(Controls.ComboBaud, BaudRateText(window.BaudRate));
  ImageFolder = window.ImageFolder;
  LogoPage->SetPictureFolder(window.PictureFolder);
}

void TMainWindowWin32::HideHint() {
  if (Hint.empty()) return;
  Hint.clear();
  HideStatusHint(Controls.StatusBar);
}

void TMainWindowWin32::LayOut() {
  const HFONT oldFont = Font;
  Font = CreateMessageFont(Dpi);
  const HWND window = Controls.Window;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    static_cast<void>(SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE));
  if (oldFont) static_cast<void>(DeleteObject(oldFont));

  // Spacings in dialog units of the font: a quarter of an average character across, an
  // eighth of a line down.
  const SIZE units = FontUnits(Font);
  const int charWidth = static_cast<int>(units.cx);
  const int textHeight = static_cast<int>(units.cy);
  const auto across = [charWidth](int dialogUnits) { return MulDiv(dialogUnits, charWidth, 4); };
  const auto down = [textHeight](int dialogUnits) { return MulDiv(dialogUnits, textHeight, 8); };
  const auto textWidth = [this](const char* text) { return static_cast<int>(TextSize(Font, text).cx); };
  const int margin = across(7);
  const int gap = across(4);
  const int rowGap = down(4);
  const int edge = SystemMetricForDpi(SM_CXEDGE, Dpi);
  const int arrow = SystemMetricForDpi(SM_CXVSCROLL, Dpi);
  // A field keeps a few pixels either side of its text; an average character covers them.
  const auto fieldWidth = [&](const char* text) { return textWidth(text) + charWidth + 4 * edge; };
  const auto comboWidth = [&](const char* text) { return fieldWidth(text) + arrow; };
  const auto buttonWidth = [&](const char* text) { return std::max(across(50), textWidth(text) + 2 * charWidth); };
  const int buttonHeight = down(14);

  // The boxes' height follows their font; the list below takes some lines more.
  Place(Controls.ComboPort, 0, 0, comboWidth(kPortWidthText), 0);
  const int rowHeight = std::max(WindowHeight(Controls.ComboPort), textHeight + 4 * edge);
  const int listHeight = rowHeight + kComboListLines * textHeight;
  const int labelTop = (rowHeight - textHeight) / 2;

  // The strip: PORT: and its box, BAUD RATE: and its box.
  int x = margin;
  const int stripTop = margin;
  const int portLabelWidth = textWidth("PORT:");
  Place(LabelPort, x, stripTop + labelTop, portLabelWidth, textHeight);
  x += portLabelWidth + gap;
  Place(Controls.ComboPort, x, stripTop, comboWidth(kPortWidthText), listHeight);
  x += comboWidth(kPortWidthText) + 3 * gap;
  const int baudLabelWidth = textWidth("BAUD RATE:");
  Place(LabelBaud, x, stripTop + labelTop, baudLabelWidth, textHeight);
  x += baudLabelWidth + gap;
  Place(Controls.ComboBaud, x, stripTop, comboWidth(kBaudWidthText), listHeight);
  const int stripWidth = x + comboWidth(kBaudWidthText) + margin;

  // The pages' area inside the tab control, whatever its size.
  const int tabTop = stripTop + rowHeight + rowGap;
  constexpr int kProbe = 400;
  Place(Controls.PageControl, margin, tabTop, kProbe, kProbe);
  RECT display = {0, 0, kProbe, kProbe};
  static_cast<void>(SendMessageA(Controls.PageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display)));
  const int pageLeft = margin + display.left + margin;
  const int pageTop = tabTop + display.top + margin;

  // PARA: the labels right-aligned in a column, their boxes beside them, SET below.
  const char* const paraLabels[] = {"BAUD RATE:", "CODE PAGE", "STRING"};
  const HWND paraLabelControls[] = {LabelSetBaudRate, LabelCodePage, LabelString};
  int labelColumn = 0;
  for (const char* label : paraLabels) labelColumn = std::max(labelColumn, textWidth(label));
  const int boxLeft = pageLeft + labelColumn + gap;
  const int boxWidths[] = {comboWidth(kBaudWidthText), comboWidth(kCodePageWidthText), fieldWidth(kStringWidthText)};
  const HWND boxes[] = {Controls.ComboSetBaudRate, Controls.ComboCodePage, Controls.EditString};
  int y = pageTop;
  int paraWidth = 0;
  for (size_t row = 0; row < 3; ++row) {
    const int labelWidth = textWidth(paraLabels[row]);
    Place(paraLabelControls[row], pageLeft + labelColumn - labelWidth, y + labelTop, labelWidth, textHeight);
    const bool isCombo = boxes[row] != Controls.EditString;
    Place(boxes[row], boxLeft, y, boxWidths[row], isCombo ? listHeight : rowHeight);
    paraWidth = std::max(paraWidth, labelColumn + gap + boxWidths[row]);
    y += rowHeight + rowGap;
  }
  Place(Controls.ButtonSet, pageLeft, y, buttonWidth("SET"), buttonHeight);
  const SIZE para = {paraWidth, y + buttonHeight - pageTop};

  // UPDATE: PROGRAM alone.
  const SIZE update = {buttonWidth("PROGRAM"), buttonHeight};
  Place(Controls.ButtonProgram, pageLeft, pageTop, update.cx, update.cy);

  // NVRAM: the page's own layout.
  const SIZE nvram = LogoPage->Layout(POINT{pageLeft, pageTop}, Font, Dpi);

  // The status bar: panel 0 as wide as its longest text.
  const std::string panel0Texts[] = {FormatProgress(kLongestTransfer, kLongestTransfer).value_or(""),
                                     FormatLogoSpace(kLongestTransfer, 2 * int64_t{kLongestTransfer})};
  int panel0Width = 0;
  for (const std::string& text : panel0Texts)
    panel0Width = std::max(panel0Width, textWidth(text.c_str()));
  panel0Width += 2 * charWidth;
  const int statusHeight = LayOutStatusBar(Controls.StatusBar, panel0Width);

  const int contentWidth = std::max({para.cx, update.cx, nvram.cx});
  const int contentHeight = std::max({para.cy, update.cy, nvram.cy});
  const int tabFrameWidth = kProbe - (display.right - display.left);
  const int tabFrameHeight = kProbe - (display.bottom - display.top);
  int tabWidth = contentWidth + 2 * margin + tabFrameWidth;
  const int tabHeight = contentHeight + 2 * margin + tabFrameHeight;
  int clientWidth = std::max({stripWidth, tabWidth + 2 * margin, panel0Width + across(100)});
  // The window widens, if it must, so that the whole hint shows.
  if (!Hint.empty()) clientWidth = std::max(clientWidth, textWidth(Hint.c_str()) + 4 * charWidth);
  tabWidth = clientWidth - 2 * margin;
  Place(Controls.PageControl, margin, tabTop, tabWidth, tabHeight);
  const int clientHeight = tabTop + tabHeight + margin + statusHeight;

  const SIZE outer = WindowSizeForClient(clientWidth, clientHeight, kWindowStyle, kWindowExStyle, Dpi);
  static_cast<void>(SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
  static_cast<void>(LayOutStatusBar(Controls.StatusBar, panel0Width));
  static_cast<void>(InvalidateRect(window, nullptr, TRUE));
}

void TMainWindowWin32::ShowPage(int page) {
  static_cast<void>(SendMessageA(Controls.PageControl, TCM_SETCURSEL, static_cast<WPARAM>(page), 0));
  const int para = page == kParaPage ? SW_SHOW : SW_HIDE;
  for (HWND control : {LabelSetBaudRate, Controls.ComboSetBaudRate, LabelCodePage, Controls.ComboCodePage, LabelString,
                       Controls.EditString, Controls.ButtonSet})
    static_cast<void>(ShowWindow(control, para));
  static_cast<void>(ShowWindow(Controls.ButtonProgram, page == kUpdatePage ? SW_SHOW : SW_HIDE));
  LogoPage->Show(page == kNvramPage);
}

void TMainWindowWin32::RefreshPorts() {
  std::vector<std::string> items;
  for (const TPortEntry& entry : PortBoxEntries(ListSerialPorts(SystemPortLister()))) items.push_back(entry.Text);
  SetComboItems(Controls.ComboPort, items);
}

void TMainWindowWin32::SaveSettings() {
  TProfileFile profile(Paths.ConfigFile());
  TWindowSettings window;
  window.Port = ControlText(Controls.ComboPort);
  window.BaudRate = ControlText(Controls.ComboBaud);
  window.ImageFolder = ImageFolder;
  window.PictureFolder = LogoPage->PictureFolder();
  if (!WriteLogoSettings(profile, LogoPage->Settings()) || !WriteLogoList(profile, LogoPage->ListEntries()) ||
      !WriteWindowSettings(profile, window))
    ShowErrorBox(Controls.Window, "", "Unable to write to " + profile.Path() + ".");
}

bool TMainWindowWin32::Close() {
  // A firmware transfer cut off half-way can leave the printer without a working
  // program, so the window stays until the job has ended.
  if (Runner.Busy()) {
    SetStatusPanelText(Controls.StatusBar, kStatusPanel, kBusyText);
    return false;
  }
  SaveSettings();
  return true;
}

int32_t TMainWindowWin32::LinkBaudRate() const {
  const TChecked<int32_t> rate = CheckBaudRate(ControlText(Controls.ComboBaud), TRateField::WindowBox);
  if (!rate) throw std::runtime_error(rate.Refusal().Text);
  return *rate;
}

bool TMainWindowWin32::Start(const TChecked<TRequest>& request, HWND button) {
  if (!request) {
    ShowRefusal(View, request.Refusal());
    return false;
  }
  // The link's rate is read after the request is built, whose checks come first.
  const int32_t linkBaudRate = LinkBaudRate();
  View.SetOperationButton(button);
  return Runner.Start(*request, ControlText(Controls.ComboPort), linkBaudRate);
}

void TMainWindowWin32::btSetClick() {
  if (Runner.Busy()) return;
  const HWND codePageBox = Controls.ComboCodePage;
  const std::vector<std::string> entries = ComboItems(codePageBox);
  const LRESULT current = SendMessageA(codePageBox, CB_GETCURSEL, 0, 0);
  const TChecked<int> entry = CodePageEntry(entries, current == CB_ERR ? -1 : static_cast<int>(current),
                                            ControlText(codePageBox));
  if (!entry) throw std::runtime_error(entry.Refusal().Text);
  // The box shows the entry that is sent.
  if (*entry >= 0 && ControlText(codePageBox) != entries[static_cast<size_t>(*entry)])
    static_cast<void>(SendMessageA(codePageBox, CB_SETCURSEL, static_cast<WPARAM>(*entry), 0));
  TSetInput input;
  input.FrontEnd = TReasonFrontEnd::Window;
  input.CodePageEntry = *entry;
  input.NewRateText = ControlText(Controls.ComboSetBaudRate);
  input.NewRateField = TRateField::WindowBox;
  input.String = ControlText(Controls.EditString);
  static_cast<void>(Start(SetRequest(input, CodePages, Paths.ConfigFile()), Controls.ButtonSet));
}

void TMainWindowWin32::btUpdateClick() {
  if (Runner.Busy()) return;
  static_cast<void>(SetCurrentDirectoryA(Paths.ConfigFolder.c_str()));
  // A rate the printer does not have stops the operation before the dialog.
  static_cast<void>(LinkBaudRate());
  std::error_code error;
  const bool lastExists = !ImageFolder.empty() && std::filesystem::is_directory(ImageFolder, error);
  const TChosenFile chosen = View.ChooseImageFile(lastExists ? ImageFolder : Paths.ConfigFolder);
  ImageFolder = chosen.Folder;
  if (chosen.Path.empty()) return;
  static_cast<void>(Start(ProgramRequest(chosen.Path), Controls.ButtonProgram));
}

void TMainWindowWin32::btLOGOClick() {
  if (Runner.Busy()) return;
  const TChecked<TRequest> request = LogoDownloadRequest(LogoPage->LogoSet(), LogoPage->IsLogoSetComplete(),
                                                         LogoPage->Settings(), Paths.StateFolder);
  if (request) static_cast<void>(SetCurrentDirectoryA(Paths.ConfigFolder.c_str()));
  static_cast<void>(Start(request, LogoPage->DownloadButton()));
}

bool TMainWindowWin32::HandleKey(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const HWND window = Controls.Window;
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
    const LRESULT current = SendMessageA(Controls.PageControl, TCM_GETCURSEL, 0, 0);
    const int step = GetKeyState(VK_SHIFT) < 0 ? kPageCount - 1 : 1;
    ShowPage((static_cast<int>(std::max<LRESULT>(current, 0)) + step) % kPageCount);
    return true;
  }
  if (message.wParam == VK_RETURN) {
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus) && IsPushButton(focus) && IsWindowEnabled(focus)) {
      static_cast<void>(SendMessageA(focus, BM_CLICK, 0, 0));
      return true;
    }
  }
  return false;
}

int TMainWindowWin32::Run() {
  MSG message = {};
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) return 1;
    if (HandleKey(message)) continue;
    if (Controls.Window && IsDialogMessageA(Controls.Window, &message)) continue;
    static_cast<void>(TranslateMessage(&message));
    static_cast<void>(DispatchMessageA(&message));
  }
}

LRESULT CALLBACK TMainWindowWin32::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TMainWindowWin32*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->Controls.Window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TMainWindowWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT TMainWindowWin32::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = Controls.Window;
  switch (message) {
    case kRunPostedMessage:
      View.RunPosted();
      return 0;
    case WM_COMMAND: {
      if (LogoPage && LogoPage->OnCommand(wParam, lParam)) return 0;
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == kIdButtonSet && code == BN_CLICKED) Guarded([this] { btSetClick(); });
      else if (id == kIdButtonProgram && code == BN_CLICKED) Guarded([this] { btUpdateClick(); });
      else if (id == kIdComboPort && code == CBN_DROPDOWN) RefreshPorts();
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == Controls.PageControl && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageA(Controls.PageControl, TCM_GETCURSEL, 0, 0)));
        return 0;
      }
      if (LogoPage && LogoPage->OnNotify(*header)) return 0;
      break;
    }
    case WM_CONTEXTMENU:
      if (LogoPage && LogoPage->OnContextMenu(reinterpret_cast<HWND>(wParam),
                                              POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
        return 0;
      break;
    case WM_CTLCOLORSTATIC: {
      // The pages' labels stand on the tab control's face: the window colour where the
      // tab control is drawn with the system's visual style, else the dialog colour.
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == kIdLabelSetBaudRate || id == kIdLabelCodePage || id == kIdLabelString || id == kIdLabelLogo ||
          id == kIdLabelDots || id == kIdLabelThreshold || id == kIdPreviewCaption) {
        const int face = GetWindowTheme(Controls.PageControl) ? COLOR_WINDOW : COLOR_BTNFACE;
        static_cast<void>(SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(face)));
        static_cast<void>(SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT)));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
      }
      break;
    }
    case WM_SIZE:
      if (Controls.StatusBar) static_cast<void>(SendMessageA(Controls.StatusBar, WM_SIZE, 0, 0));
      return 0;
    case WM_DPICHANGED: {
      Dpi = LOWORD(wParam);
      LayOut();
      // Where the system suggests; the size is the layout's own at the new DPI.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      static_cast<void>(SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0,
                                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
      return 0;
    }
    case WM_ACTIVATE:
      // The focus goes back where it was when a box or another program took it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window, focus)) LastFocus = focus;
      } else if (LastFocus && IsWindow(LastFocus)) {
        static_cast<void>(SetFocus(LastFocus));
        return 0;
      }
      break;
    case WM_SETFOCUS:
      static_cast<void>(SetFocus(LastFocus && IsWindow(LastFocus) ? LastFocus : Controls.ComboPort));
      return 0;
    case WM_CLOSE:
      if (Close()) static_cast<void>(DestroyWindow(window));
      return 0;
    case WM_DESTROY:
      View.Detach();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace printset::win32
