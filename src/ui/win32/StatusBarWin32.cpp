#include "ui/win32/StatusBarWin32.h"

#include <commctrl.h>

#include <cstdint>
#include <vector>

namespace printset::win32 {

HWND CreateStatusBar(HWND window, int id) {
  return CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

int LayOutStatusBar(HWND bar, int panel0Width) {
  // -1: the last panel reaches the right edge.
  int rightEdges[2] = {panel0Width, -1};
  static_cast<void>(SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(rightEdges)));
  // The bar takes its place and height from its parent's size and its own font.
  static_cast<void>(SendMessageA(bar, WM_SIZE, 0, 0));
  RECT rect = {};
  if (!GetWindowRect(bar, &rect)) return 0;
  return rect.bottom - rect.top;
}

void SetStatusPanelText(HWND bar, int panel, const std::string& text) {
  static_cast<void>(SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str())));
}

std::string StatusPanelText(HWND bar, int panel) {
  const LRESULT info = SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(panel), 0);
  std::vector<char> text(static_cast<size_t>(LOWORD(info)) + 1, '\0');
  static_cast<void>(SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data())));
  return std::string(text.data());
}

void ShowStatusHint(HWND bar, const std::string& hint) {
  static_cast<void>(SendMessageA(bar, SB_SIMPLE, TRUE, 0));
  static_cast<void>(SendMessageA(bar, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(hint.c_str())));
}

void HideStatusHint(HWND bar) { static_cast<void>(SendMessageA(bar, SB_SIMPLE, FALSE, 0)); }

}  // namespace printset::win32
