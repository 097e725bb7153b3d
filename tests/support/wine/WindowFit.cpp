#include "support/wine/WindowFit.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "ui/win32/DpiWin32.h"

namespace printset {

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  return GetClassNameA(window, name, sizeof name) > 0 ? name : "";
}

bool IsClass(HWND window, const char* name) { return lstrcmpiA(ClassOf(window).c_str(), name) == 0; }

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT Inset(RECT rect, int across, int down) {
  return {rect.left + across, rect.top + down, rect.right - across, rect.bottom - down};
}

RECT ClientRect(HWND control) {
  RECT rect{};
  if (!GetClientRect(control, &rect)) throw std::runtime_error("a control of printset.exe has no client area");
  return rect;
}

// A text shown in a control and the room the control gives it.
struct TShownText {
  std::string What;  // the control, for the message
  std::string Text;
  RECT Room{};
  bool Wraps = false;  // the control breaks it into lines at the room's width
  bool Prefixes = false;  // "&" marks a mnemonic and takes no room
};

std::string Describe(HWND control) {
  return ClassOf(control) + " " + std::to_string(GetDlgCtrlID(control));
}

// The room an edit field gives its text: its formatting rectangle, inside its margins.
RECT EditRoom(const TDrivenWindow& window, HWND edit) { return window.EditRect(edit); }

// The texts `control` shows, each with its room.
std::vector<TShownText> ShownTexts(const TDrivenWindow& window, HWND control, UINT dpi) {
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  const std::string what = Describe(control);
  const int edge = win32::SystemMetricForDpi(SM_CXEDGE, dpi);
  if (IsClass(control, "Static")) {
    const LONG type = style & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE)
      return {};
    const bool wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
    return {{what, window.Text(control), ClientRect(control), wraps, (style & SS_NOPREFIX) == 0}};
  }
  if (IsClass(control, "Button")) {
    // A push button keeps its frame around the caption.
    return {{what, window.Text(control), Inset(ClientRect(control), edge, edge), (style & BS_MULTILINE) != 0, true}};
  }
  if (IsClass(control, "Edit")) return {{what, window.Text(control), EditRoom(window, control), false, false}};
  if (IsClass(control, WC_COMBOBOXA)) {
    // An editable box shows its text in its field; a drop-down list beside its arrow.
    if (HWND field = FindWindowExA(control, nullptr, "Edit", nullptr))
      return {{what, window.Text(control), EditRoom(window, field), false, false}};
    RECT room = Inset(ClientRect(control), edge, edge);
    room.right -= win32::SystemMetricForDpi(SM_CXVSCROLL, dpi);
    return {{what, window.Text(control), room, false, false}};
  }
  std::vector<TShownText> texts;
  if (IsClass(control, WC_TABCONTROLA)) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(control, TCM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, TDrivenWindow::kStepMs, &count))
      throw std::runtime_error("the tab control did not count its items");
    for (int index = 0; index < static_cast<int>(count); ++index)
      texts.push_back({what + " item " + std::to_string(index), window.TabText(control, index),
                       window.ItemRect(control, TCM_GETITEMRECT, index), false, true});
  } else if (IsClass(control, STATUSCLASSNAMEA)) {
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutA(control, SB_GETPARTS, 0, 0, SMTO_ABORTIFHUNG, TDrivenWindow::kStepMs, &count))
      throw std::runtime_error("the status bar did not count its panels");
    for (int panel = 0; panel < static_cast<int>(count); ++panel)
      texts.push_back({what + " panel " + std::to_string(panel), window.StatusPanel(GetDlgCtrlID(control), panel),
                       Inset(window.ItemRect(control, SB_GETRECT, panel), edge, 0), false, false});
  }
  return texts;
}

// The extent of `shown.Text` in `font`, wrapped at the room's width where it wraps.
SIZE Extent(HDC dc, const TShownText& shown) {
  RECT rect = {0, 0, std::max(Width(shown.Room), 0), 0};
  const UINT format = DT_CALCRECT | DT_EXPANDTABS | (shown.Wraps ? DT_WORDBREAK : DT_SINGLELINE) |
                      (shown.Prefixes ? 0u : static_cast<UINT>(DT_NOPREFIX));
  if (DrawTextA(dc, shown.Text.c_str(), -1, &rect, format) == 0)
    throw std::runtime_error("cannot measure \"" + shown.Text + "\"");
  return {Width(rect), Height(rect)};
}

// Measures in the window's own DPI: the rectangles of a window of printset.exe, which
// scales itself, come unscaled to a thread that does too. (The function came with later
// systems than the driver is built for: looked up.)
class TDpiAwareThread {
 public:
  TDpiAwareThread() {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    SetContext = user32 ? reinterpret_cast<TSetContext>(
                              reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")))
                        : nullptr;
    if (!SetContext) throw std::runtime_error("the system cannot make a thread aware of its DPI");
    Old = SetContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
  }
  ~TDpiAwareThread() {
    if (Old) static_cast<void>(SetContext(Old));
  }
  TDpiAwareThread(const TDpiAwareThread&) = delete;
  TDpiAwareThread& operator=(const TDpiAwareThread&) = delete;

 private:
  using TSetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);
  TSetContext SetContext = nullptr;
  DPI_AWARENESS_CONTEXT Old = nullptr;
};

// The screen with the message font at `dpi` selected, for measuring texts.
class TMeasuringDc {
 public:
  explicit TMeasuringDc(UINT dpi) : Font(win32::CreateMessageFont(dpi)), Dc(GetDC(nullptr)) {
    if (!Dc) {
      static_cast<void>(DeleteObject(Font));
      throw std::runtime_error("no screen to measure texts on");
    }
    OldFont = SelectObject(Dc, Font);
  }
  ~TMeasuringDc() {
    static_cast<void>(SelectObject(Dc, OldFont));
    static_cast<void>(ReleaseDC(nullptr, Dc));
    static_cast<void>(DeleteObject(Font));
  }
  TMeasuringDc(const TMeasuringDc&) = delete;
  TMeasuringDc& operator=(const TMeasuringDc&) = delete;
  HDC Handle() const { return Dc; }

 private:
  HFONT Font;
  HDC Dc;
  HGDIOBJ OldFont = nullptr;
};

}  // namespace

std::vector<std::string> Misfits(const TDrivenWindow& window, HWND parent) {
  const TDpiAwareThread aware;
  const UINT dpi = win32::WindowDpi(parent);
  const TMeasuringDc dc(dpi);
  std::vector<std::string> misfits;
  std::vector<HWND> placed;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    if (!IsClass(child, WC_TABCONTROLA)) placed.push_back(child);
    for (const TShownText& shown : ShownTexts(window, child, dpi)) {
      if (shown.Text.empty()) continue;
      const SIZE extent = Extent(dc.Handle(), shown);
      if (extent.cx > Width(shown.Room) || extent.cy > Height(shown.Room))
        misfits.push_back(shown.What + " \"" + shown.Text + "\" takes " + std::to_string(extent.cx) + "x" +
                          std::to_string(extent.cy) + " at " + std::to_string(dpi) + " dpi, has " +
                          std::to_string(Width(shown.Room)) + "x" + std::to_string(Height(shown.Room)));
    }
  }
  // A window taller than the screen is cut to it, and its status bar then covers the
  // page's foot: Wine's null display is 1024 x 768, less than the window needs at 200 %.
  // Overlaps with the status bar count only where the whole window fits the screen.
  RECT frame{};
  const bool cut = GetWindowRect(parent, &frame) && Height(frame) >= GetSystemMetrics(SM_CYSCREEN);
  const auto counted = [cut](HWND a, HWND b) {
    return !cut || (!IsClass(a, STATUSCLASSNAMEA) && !IsClass(b, STATUSCLASSNAMEA));
  };
  for (size_t first = 0; first < placed.size(); ++first)
    for (size_t second = first + 1; second < placed.size(); ++second) {
      RECT a{};
      RECT b{};
      RECT common{};
      if (GetWindowRect(placed[first], &a) && GetWindowRect(placed[second], &b) && IntersectRect(&common, &a, &b) &&
          counted(placed[first], placed[second]))
        misfits.push_back(Describe(placed[first]) + " overlaps " + Describe(placed[second]));
    }
  return misfits;
}

}  // namespace printset
