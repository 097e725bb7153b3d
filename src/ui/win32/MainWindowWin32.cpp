#include "ui/win32/MainWindowWin32.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/LocalTime.h"
#include "base/Text.h"
#include "frontend/LogoRequest.h"
#include "frontend/OperatorChecks.h"
#include "frontend/SetRequest.h"
#include "frontend/ShownRefusal.h"
#include "frontend/StationRecord.h"
#include "frontend/TransferRequests.h"
#include "ports/PortEntries.h"
#include "ports/PortList.h"
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
constexpr int kWindowLeft = 192;
constexpr int kWindowTop = 114;
// Shown in the status bar while config.ini has no [CODEPAGE] section, until the first
// operation or change of the logo list.
constexpr const char* kNoCodePagesHint = "No code pages: printset-cli codepages --add";

bool IsPushButton(HWND control) {
  char className[16] = {};
  if (GetClassNameA(control, className, sizeof(className)) == 0 || lstrcmpiA(className, "Button") != 0) return false;
  const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
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
  LogoPage->SetSpaceTextHandler([this](const std::string& text) {
    // A list restored empty says nothing: the status bar stays as it starts.
    if (Restoring && LogoPage->List().Count() == 0) return;
    HideHint();
    SetStatusPanelText(Controls.StatusBar, kProgressPanel, text);
  });
  LogoPage->SetDownloadHandler([this] { Guarded([this] { btLOGOClick(); }); });
  View.SetJobStartedHandler([this] { HideHint(); });
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

  const TLinkSettings link = ReadLinkSettings(profile);
  Runner.SetSettings(link, KeptRuns(profile));
  PortMap = link.PortMap;

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

void TMainWindowWin32::RefreshPorts() {
  std::vector<std::string> items;
  for (const TPortEntry& entry : PortBoxEntries(ListSerialPorts(SystemPortLister()))) items.push_back(entry.Text);
  SetComboItems(Controls.ComboPort, items);
}

const char* TMainWindowWin32::PortToolTipText() {
  const std::string name = Trim(ControlText(Controls.ComboPort));
  PortToolTipShown = name.empty() ? std::string() : ResolvePortName(name, PortMap);
  return PortToolTipShown.c_str();
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
  const TChosenFile chosen = View.ChooseImageFile(ImageDialogFolder(ImageFolder, Paths.ConfigFolder));
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
      if (header->hwndFrom == PortToolTip && header->code == TTN_GETDISPINFOA) {
        reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = const_cast<char*>(PortToolTipText());
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
