#include "DrivenWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Text.h"
#include "ui/win32/ControlIds.h"

namespace printset {

namespace {

constexpr uint32_t kPollMs = 5;
// A message the window answers at once (a text, a count) must not take longer than this.
constexpr UINT kAnswerMs = 5000;
// What the window's process gets to end after WM_CLOSE or TerminateProcess.
constexpr DWORD kEndMs = 10000;
// The class of dialogs (message boxes, the Open dialog, the choice box).
constexpr const char* kDialogClass = "#32770";
// The class of pop-up menus.
constexpr const char* kMenuClass = "#32768";
// A message box's text and icon controls, and the Open dialog's file name box.
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;
constexpr int kOpenDialogFileNameId = 0x047C;
// The buffer in the window's process that status bar texts are copied into.
constexpr SIZE_T kRemoteBufferSize = 4096;

std::string ClassOf(HWND window) {
  char name[64] = {};
  return GetClassNameA(window, name, sizeof name) > 0 ? name : "";
}

std::string SystemError(const std::string& what) {
  return what + " failed (system error " + std::to_string(GetLastError()) + ")";
}

// The first visible top-level window of process `processId` that `matches`; null when none.
HWND FindTopWindow(DWORD processId, const std::function<bool(HWND)>& matches) {
  struct TSearch {
    DWORD ProcessId;
    const std::function<bool(HWND)>* Matches;
    HWND Found;
  } search{processId, &matches, nullptr};
  const auto visit = [](HWND window, LPARAM parameter) -> BOOL {
    auto& found = *reinterpret_cast<TSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != found.ProcessId || !IsWindowVisible(window) || !(*found.Matches)(window)) return TRUE;
    found.Found = window;
    return FALSE;
  };
  EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool HasCaption(HWND window, const char* caption) {
  char text[64] = {};
  return GetWindowTextA(window, text, sizeof text) > 0 && std::string(text) == caption;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

void WaitUntil(const std::string& what, uint32_t timeoutMs, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end)
      throw std::runtime_error("waited " + std::to_string(timeoutMs) + " ms in vain for " + what);
    Sleep(kPollMs);
  }
}

TDrivenWindow::TDrivenWindow(const std::string& program, const std::string& folder) {
  const std::string copy = folder + "\\printset.exe";
  if (!CopyFileA(program.c_str(), copy.c_str(), FALSE)) throw std::runtime_error(SystemError("copying " + program));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  std::string commandLine = Quoted(copy);
  if (!CreateProcessA(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &started))
    throw std::runtime_error(SystemError("starting " + copy));
  Process = started.hProcess;
  ProcessId = started.dwProcessId;
  CloseHandle(started.hThread);
  RemoteBuffer = VirtualAllocEx(Process, nullptr, kRemoteBufferSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (RemoteBuffer == nullptr) throw std::runtime_error(SystemError("a buffer in printset.exe"));
  // The status bar is the window's last control: once it is there, all are.
  WaitWhileRunning("the window captioned " + Quoted(win32::kWindowCaption) + " with its status bar", kStepMs, [this] {
    MainWindow = FindTopWindow(ProcessId, [](HWND window) { return HasCaption(window, win32::kWindowCaption); });
    return MainWindow != nullptr && IsWindowEnabled(MainWindow) && GetDlgItem(MainWindow, win32::kIdStatusBar);
  });
}

TDrivenWindow::~TDrivenWindow() {
  if (Process == nullptr) return;
  // The buffer in the window's process goes with the process.
  if (Running() && TerminateProcess(Process, 1)) static_cast<void>(WaitForSingleObject(Process, kEndMs));
  CloseHandle(Process);
}

bool TDrivenWindow::Running() const { return WaitForSingleObject(Process, 0) == WAIT_TIMEOUT; }

void TDrivenWindow::WaitWhileRunning(const std::string& what, uint32_t timeoutMs,
                                     const std::function<bool()>& condition) const {
  WaitUntil(what, timeoutMs, [&] {
    if (condition()) return true;
    if (!Running()) {
      DWORD code = 0;
      GetExitCodeProcess(Process, &code);
      throw std::runtime_error("printset.exe ended (exit code " + std::to_string(code) + ") while waiting for " + what);
    }
    return false;
  });
}

LRESULT TDrivenWindow::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result))
    throw std::runtime_error("message " + std::to_string(message) + " to a control of printset.exe went unanswered");
  return static_cast<LRESULT>(result);
}

HWND TDrivenWindow::Control(int id) const {
  HWND control = GetDlgItem(MainWindow, id);
  if (control == nullptr) throw std::runtime_error("the window has no control " + std::to_string(id));
  return control;
}

std::string TDrivenWindow::Text(HWND control) const {
  const LRESULT length = Send(control, WM_GETTEXTLENGTH, 0, 0);
  std::vector<char> text(static_cast<size_t>(length) + 2, '\0');
  const LRESULT copied = Send(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  return std::string(text.data(), static_cast<size_t>(copied));
}

void TDrivenWindow::Type(int id, const std::string& text) {
  HWND control = Control(id);
  if (!Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())))
    throw std::runtime_error("control " + std::to_string(id) + " took no text");
  // An edit control tells its parent itself; a combo box does not for WM_SETTEXT.
  if (ClassOf(control) == WC_COMBOBOXA) Send(MainWindow, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE),
                                            reinterpret_cast<LPARAM>(control));
}

std::string TDrivenWindow::ItemText(HWND box, LRESULT index) const {
  // Wine hands a list item to another process in UTF-16 even when it was asked in ANSI:
  // asked in UTF-16 it is right.
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, kAnswerMs, &length))
    throw std::runtime_error("a box of printset.exe did not say how long its item is");
  std::wstring wide(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()),
                           SMTO_ABORTIFHUNG, kAnswerMs, &copied) ||
      copied > length)
    throw std::runtime_error("a box of printset.exe did not give its item");
  std::string text(copied * 3, '\0');
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(copied), text.data(),
                                       static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(static_cast<size_t>(std::max(size, 0)));
  return text;
}

void TDrivenWindow::Choose(int id, const std::string& item) {
  HWND box = Control(id);
  // The operator goes by what an item reads: the boxes pad some items (rates to six places).
  const LRESULT count = Send(box, CB_GETCOUNT, 0, 0);
  std::string items;
  for (LRESULT index = 0; index < count; ++index) {
    const std::string text = ItemText(box, index);
    items += " " + Quoted(text);
    if (Trim(text) != item) continue;
    Send(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Send(MainWindow, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    return;
  }
  throw std::runtime_error("box " + std::to_string(id) + " has no item " + Quoted(item) + "; its items:" + items);
}

void TDrivenWindow::ShowPage(int id, int index) {
  HWND tabs = Control(id);
  Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  if (Send(tabs, TCM_GETCURSEL, 0, 0) != index) throw std::runtime_error("page " + std::to_string(index) + " not shown");
}

void TDrivenWindow::Click(int id) { Click(MainWindow, id); }

void TDrivenWindow::Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) throw std::runtime_error("no button " + std::to_string(id) + " to click");
  // Posted: a click that opens a modal box returns only when the box is closed.
  if (!PostMessageA(button, BM_CLICK, 0, 0)) throw std::runtime_error(SystemError("clicking " + std::to_string(id)));
}

std::string TDrivenWindow::StatusPanel(int id, int panel) const {
  HWND bar = Control(id);
  // The text can change between two messages: its length is taken from the copy itself.
  if (LOWORD(Send(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0)) >= kRemoteBufferSize / 2)
    throw std::runtime_error("status panel text too long");
  // The window writes the text into memory of its own process: read it from there.
  const auto length = static_cast<SIZE_T>(
      LOWORD(Send(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(RemoteBuffer))));
  if (length >= kRemoteBufferSize) throw std::runtime_error("status panel text too long");
  std::vector<char> text(length + 1, '\0');
  SIZE_T read = 0;
  if (!ReadProcessMemory(Process, RemoteBuffer, text.data(), length, &read) || read != length)
    throw std::runtime_error(SystemError("reading a status panel"));
  return std::string(text.data(), length);
}

int TDrivenWindow::ListCount(int id) const { return static_cast<int>(Send(Control(id), LB_GETCOUNT, 0, 0)); }

std::vector<std::string> TDrivenWindow::ListItems(int id) const {
  HWND list = Control(id);
  std::vector<std::string> items;
  const int count = ListCount(id);
  for (int index = 0; index < count; ++index) {
    // Asked in UTF-16, as combo box items are (see ItemText).
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_ABORTIFHUNG, kAnswerMs, &length) ||
        static_cast<LRESULT>(length) == LB_ERR)
      throw std::runtime_error("list " + std::to_string(id) + " did not say how long its entry is");
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()),
                             SMTO_ABORTIFHUNG, kAnswerMs, &copied) ||
        copied > length)
      throw std::runtime_error("list " + std::to_string(id) + " did not give its entry");
    std::string text(copied * 3, '\0');
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(copied), text.data(),
                                         static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<size_t>(std::max(size, 0)));
    items.push_back(text);
  }
  return items;
}

void TDrivenWindow::SelectListItem(int id, int index) {
  HWND list = Control(id);
  if (Send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0) != index)
    throw std::runtime_error("list " + std::to_string(id) + " has no entry " + std::to_string(index));
  Send(MainWindow, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

RECT TDrivenWindow::ItemRect(HWND control, UINT message, int index) const {
  RECT rect{};
  if (!Send(control, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(RemoteBuffer)))
    throw std::runtime_error("a control of printset.exe gave no rectangle for its item " + std::to_string(index));
  SIZE_T read = 0;
  if (!ReadProcessMemory(Process, RemoteBuffer, &rect, sizeof rect, &read) || read != sizeof rect)
    throw std::runtime_error(SystemError("reading an item's rectangle"));
  return rect;
}

RECT TDrivenWindow::EditRect(HWND edit) const {
  // A system message below WM_USER: its rectangle is carried across the processes by the
  // system, into the driver's own. It answers nothing: only the rectangle tells.
  RECT rect{};
  static_cast<void>(Send(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect)));
  return rect;
}

std::string TDrivenWindow::TabText(HWND tabs, int index) const {
  // The item's description at the buffer's start, its text after it.
  constexpr SIZE_T kTextOffset = 256;
  char* const remote = static_cast<char*>(RemoteBuffer);
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = remote + kTextOffset;
  item.cchTextMax = static_cast<int>(kRemoteBufferSize - kTextOffset);
  SIZE_T written = 0;
  if (!WriteProcessMemory(Process, remote, &item, sizeof item, &written) || written != sizeof item)
    throw std::runtime_error(SystemError("writing a tab's description"));
  if (!Send(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote)))
    throw std::runtime_error("the tab control has no item " + std::to_string(index));
  std::vector<char> text(kRemoteBufferSize - kTextOffset, '\0');
  SIZE_T read = 0;
  if (!ReadProcessMemory(Process, remote + kTextOffset, text.data(), text.size() - 1, &read))
    throw std::runtime_error(SystemError("reading a tab's caption"));
  return std::string(text.data());
}

HWND TDrivenWindow::OpenContextMenu(int id) {
  // The menu key: no point, the menu at the selected entry. Posted: the menu is modal.
  if (!PostMessageA(MainWindow, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Control(id)), MAKELPARAM(-1, -1)))
    throw std::runtime_error(SystemError("asking for the pop-up menu"));
  HWND menu = nullptr;
  WaitWhileRunning("the pop-up menu of control " + std::to_string(id), kStepMs, [&] {
    menu = FindTopWindow(ProcessId, [](HWND window) { return ClassOf(window) == kMenuClass; });
    return menu != nullptr;
  });
  return menu;
}

void TDrivenWindow::PressMenuKeys(HWND menu, const std::vector<WORD>& keys) {
  // The menu's loop takes the keys from its thread's queue, whichever window they are for.
  for (const WORD key : keys)
    if (!PostMessageA(menu, WM_KEYDOWN, key, 0) || !PostMessageA(menu, WM_KEYUP, key, 0))
      throw std::runtime_error(SystemError("pressing a key in the pop-up menu"));
}

HWND TDrivenWindow::FindDialog(int childId) const {
  // Enabled: the box on top (a box opened over another disables it).
  return FindTopWindow(ProcessId, [this, childId](HWND window) {
    return window != MainWindow && IsWindowEnabled(window) && ClassOf(window) == kDialogClass &&
           (childId == 0 || GetDlgItem(window, childId) != nullptr);
  });
}

bool TDrivenWindow::AnyDialogShown() const { return FindDialog(0) != nullptr; }

TDrivenBox TDrivenWindow::WaitForDialog(int childId, const std::string& what, uint32_t timeoutMs) const {
  TDrivenBox box;
  WaitWhileRunning(what, timeoutMs, [&] { return (box.Handle = FindDialog(childId)) != nullptr; });
  box.Caption = Text(box.Handle);
  return box;
}

TDrivenBox TDrivenWindow::WaitForMessageBox(const std::string& what, uint32_t timeoutMs) const {
  TDrivenBox box = WaitForDialog(kMessageBoxTextId, what, timeoutMs);
  box.Text = Text(GetDlgItem(box.Handle, kMessageBoxTextId));
  HWND icon = GetDlgItem(box.Handle, kMessageBoxIconId);
  box.HasIcon = icon != nullptr && Send(icon, STM_GETICON, 0, 0) != 0;
  return box;
}

void TDrivenWindow::ChooseFile(const std::string& path, const std::string& what) {
  const TDrivenBox dialog = WaitForDialog(kOpenDialogFileNameId, what);
  HWND name = GetDlgItem(dialog.Handle, kOpenDialogFileNameId);
  if (!Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str())))
    throw std::runtime_error("the file name box of " + what + " took no text");
  Dismiss(dialog, IDOK);
}

void TDrivenWindow::Dismiss(const TDrivenBox& box, int buttonId) {
  Click(box.Handle, buttonId);
  WaitWhileRunning("the box " + Quoted(box.Caption) + " to close", kStepMs, [&] { return !IsWindow(box.Handle); });
}

DWORD TDrivenWindow::Close() {
  if (!PostMessageA(MainWindow, WM_CLOSE, 0, 0)) throw std::runtime_error(SystemError("closing the window"));
  if (WaitForSingleObject(Process, kEndMs) != WAIT_OBJECT_0)
    throw std::runtime_error("printset.exe still runs " + std::to_string(kEndMs) + " ms after WM_CLOSE");
  DWORD code = 0;
  GetExitCodeProcess(Process, &code);
  return code;
}

}  // namespace printset
