// TMainWindowWin32: the "PRINT SET" window on Windows. The controls' handlers only: the
// settings come from the profile file, the logo list and its set from the NVRAM page,
// and every transfer runs through the core's operation runner, which the window holds
// for its whole life and which shows the outcome through the window's view.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "frontend/OperationRunner.h"
#include "frontend/Request.h"
#include "link/PortNames.h"
#include "settings/AppPaths.h"
#include "settings/LogoSettings.h"
#include "ui/win32/WindowViewWin32.h"

namespace printset::win32 {

class TLogoPageWin32;

class TMainWindowWin32 {
 public:
  // config.ini is read from paths.ConfigFolder, which logo entries are shown relative
  // to, and written back there when the window closes; debug.log and logo.bin go to
  // paths.StateFolder. Never fails.
  explicit TMainWindowWin32(const TAppPaths& paths);
  // Stops and joins the worker; shows nothing (the settings were written at close).
  ~TMainWindowWin32();
  TMainWindowWin32(const TMainWindowWin32&) = delete;
  TMainWindowWin32& operator=(const TMainWindowWin32&) = delete;

  // Makes the window and its controls, reads the settings and shows it as `showCommand`
  // says (SW_SHOWNORMAL, ...). False when the system cannot make the window.
  bool Create(int showCommand);
  // Runs the window's messages until it is closed; the exit code. Never fails.
  int Run();

 private:
  static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  static constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
  // The pages, in the order of their tabs.
  static constexpr int kParaPage = 0;
  static constexpr int kUpdatePage = 1;
  static constexpr int kNvramPage = 2;
  static constexpr int kPageCount = 3;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  // Keys the dialog navigation does not give: Ctrl+Tab and Ctrl+Shift+Tab switch pages,
  // Enter presses the focused button. True when `message` was one of them and is done.
  bool HandleKey(const MSG& message);

  // MainWindowLayoutWin32.cpp: the controls made, placed and shown by page.
  void CreateControls();
  void FormCreate();
  // Places every control for the window's font at `Dpi` and sizes the window to them.
  void LayOut();
  void ShowPage(int page);
  void RefreshPorts();
  // The PORT box's tooltip: the device its text stands for (COMn after [PORTS]).
  void AddPortToolTip();
  const char* PortToolTipText();
  void SaveSettings();
  bool Close();
  void HideHint();

  void btSetClick();
  void btUpdateClick();
  void btLOGOClick();
  // The link baud rate of the box at the top; a text that is not one of the printer's
  // rates throws std::runtime_error with the refusal's text.
  int32_t LinkBaudRate() const;
  // Hands `request` to the runner for the printer of the boxes at the top, `button`
  // getting the focus back when it ends; a refusal is shown instead. True when it started.
  bool Start(const TChecked<TRequest>& request, HWND button);
  // Runs a click handler; an error ends it in an error box with its text.
  template <typename THandler>
  void Guarded(THandler handler);

  TAppPaths Paths;
  std::string ImageFolder;   // where PROGRAM's dialog was last left; empty: the config folder
  TCodePageTable CodePages;  // [CODEPAGE]: the CODE PAGE box's entries and their values
  TMainControlsWin32 Controls;
  HWND LabelPort = nullptr, LabelBaud = nullptr, LabelSetBaudRate = nullptr, LabelCodePage = nullptr,
       LabelString = nullptr;
  std::unique_ptr<TLogoPageWin32> LogoPage;
  HWND PortToolTip = nullptr;
  TPortMap PortMap;            // [PORTS]: the devices COMn stand for
  std::string PortToolTipShown;  // the tooltip's text while it shows
  HFONT Font = nullptr;
  UINT Dpi = 0;
  HWND LastFocus = nullptr;  // the control that gets the focus back when the window is active again
  std::string Hint;          // over the status bar until the first operation or logo list change
  bool Restoring = false;    // the logo list of config.ini is being restored
  TWindowViewWin32 View;
  // Declared after the view, which it shows through, so that its worker stops first.
  TOperationRunner Runner;
};

}  // namespace printset::win32
