// The box with a second choice beside OK: a dialog built in memory, its controls made
// and placed when it opens, in the message font at the owner's DPI. (TaskDialogIndirect
// would do, but it is not dependable under every system the program runs on.)
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ui/win32/BoxesWin32.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/DpiWin32.h"

namespace printset::win32 {

namespace {

// The widest a line of the box's texts may grow before it wraps, in average characters.
constexpr int kTextCharacters = 60;
// A button is at least this wide, in average characters.
constexpr int kButtonCharacters = 10;

struct TChoiceBox {
  std::string Text;
  std::string Beneath;
  std::string Action;
  HFONT Font = nullptr;
};

HWND NewControl(HWND dialog, const char* className, const std::string& text, DWORD style, int id, HFONT font) {
  const HWND control = CreateWindowExA(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                                       reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr),
                                       nullptr);
  if (control) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

// The size `text` takes wrapped at `width`.
SIZE WrappedSize(HFONT font, const std::string& text, int width) {
  SIZE size = {0, 0};
  if (text.empty()) return size;
  const HDC dc = GetDC(nullptr);
  if (!dc) return size;
  const HGDIOBJ old = SelectObject(dc, font);
  RECT rect = {0, 0, width, 0};
  if (DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS) != 0)
    size = SIZE{rect.right, rect.bottom};
  static_cast<void>(SelectObject(dc, old));
  static_cast<void>(ReleaseDC(nullptr, dc));
  return size;
}

void Place(HWND dialog, int id, int x, int y, int width, int height) {
  static_cast<void>(SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

void OpenBox(HWND dialog, TChoiceBox& box) {
  const HWND owner = GetParent(dialog);
  const UINT dpi = WindowDpi(owner ? owner : dialog);
  box.Font = CreateMessageFont(dpi);
  static_cast<void>(SetWindowTextA(dialog, ApplicationTitle().c_str()));
  const SIZE units = FontUnits(box.Font);
  const int margin = units.cx * 2;
  const int gap = units.cy / 2;
  const DWORD textStyle = SS_LEFT | SS_NOPREFIX;
  NewControl(dialog, "STATIC", box.Text, textStyle, kIdChoiceText, box.Font);
  NewControl(dialog, "STATIC", box.Beneath, textStyle, kIdChoiceReason, box.Font);
  const HWND ok = NewControl(dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, box.Font);
  NewControl(dialog, "BUTTON", box.Action, BS_PUSHBUTTON | WS_TABSTOP, kIdChoiceAction, box.Font);

  const int wrapWidth = kTextCharacters * units.cx;
  const SIZE text = WrappedSize(box.Font, box.Text, wrapWidth);
  const SIZE beneath = WrappedSize(box.Font, box.Beneath, wrapWidth);
  const int buttonHeight = units.cy * 7 / 4;
  const int buttonPadding = units.cx * 2;
  const int okWidth = std::max(kButtonCharacters * units.cx, TextSize(box.Font, "OK").cx + buttonPadding);
  const int actionWidth = std::max(kButtonCharacters * units.cx, TextSize(box.Font, box.Action.c_str()).cx + buttonPadding);
  const int buttonsWidth = okWidth + gap + actionWidth;
  const int clientWidth = 2 * margin + std::max({static_cast<int>(text.cx), static_cast<int>(beneath.cx), buttonsWidth});

  int y = margin;
  Place(dialog, kIdChoiceText, margin, y, text.cx, text.cy);
  y += text.cy;
  if (beneath.cy > 0) y += units.cy;
  Place(dialog, kIdChoiceReason, margin, y, beneath.cx, beneath.cy);
  y += beneath.cy + margin;
  const int buttonsLeft = clientWidth - margin - buttonsWidth;
  Place(dialog, IDOK, buttonsLeft, y, okWidth, buttonHeight);
  Place(dialog, kIdChoiceAction, buttonsLeft + okWidth + gap, y, actionWidth, buttonHeight);
  const int clientHeight = y + buttonHeight + margin;

  const LONG style = GetWindowLongA(dialog, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
  const SIZE outer = WindowSizeForClient(clientWidth, clientHeight, static_cast<DWORD>(style),
                                         static_cast<DWORD>(exStyle), dpi);
  // Over the middle of the owner, or of the screen without one.
  RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner) static_cast<void>(GetWindowRect(owner, &area));
  const int left = std::max(0, static_cast<int>((area.left + area.right - outer.cx) / 2));
  const int top = std::max(0, static_cast<int>((area.top + area.bottom - outer.cy) / 2));
  static_cast<void>(SetWindowPos(dialog, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER));
  static_cast<void>(SetFocus(ok));
}

INT_PTR CALLBACK ChoiceBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      OpenBox(dialog, *reinterpret_cast<TChoiceBox*>(lParam));
      // The focus was put on OK.
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        // Esc and the close button answer as OK does.
        case IDOK:
        case IDCANCEL:
          static_cast<void>(EndDialog(dialog, IDOK));
          return TRUE;
        case kIdChoiceAction:
          static_cast<void>(EndDialog(dialog, kIdChoiceAction));
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

// An empty dialog template: no menu, the default class, an empty caption; the controls
// are made when it opens. Word-aligned, as a template must be.
std::vector<WORD> EmptyTemplate() {
  std::vector<WORD> words((sizeof(DLGTEMPLATE) + 1) / sizeof(WORD) + 3, 0);
  DLGTEMPLATE header = {};
  header.style = DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  header.cdit = 0;
  static_assert(sizeof(DLGTEMPLATE) % sizeof(WORD) == 0);
  std::memcpy(words.data(), &header, sizeof(header));
  return words;
}

}  // namespace

bool AskChoiceBox(HWND owner, const std::string& text, const std::string& beneath, const std::string& action) {
  TChoiceBox box{text, beneath, action, nullptr};
  const std::vector<WORD> dialog = EmptyTemplate();
  const INT_PTR answer =
      DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner,
                              ChoiceBoxProc, reinterpret_cast<LPARAM>(&box));
  if (box.Font) static_cast<void>(DeleteObject(box.Font));
  return answer == kIdChoiceAction;
}

}  // namespace printset::win32
