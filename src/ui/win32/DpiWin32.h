// The window's scale: its DPI (per monitor where the system tells it), the message font
// at that DPI, and the system's sizes and window frames at that DPI. The functions that
// know a window's own DPI came with later systems and are looked up when the program
// starts to use them; without them the screen's DPI stands for every window.
#pragma once

#include <windows.h>

namespace printset::win32 {

// The DPI of 100 %.
constexpr UINT kDefaultDpi = 96;

// The DPI `window` is shown at: its monitor's where the system says, else the screen's.
// Never fails.
UINT WindowDpi(HWND window);

// The system's message font scaled to `dpi`; the caller deletes it (DeleteObject). Never
// fails: the stock GUI font when no font can be made.
HFONT CreateMessageFont(UINT dpi);

// `value` given at 100 %, at `dpi`. Never fails.
int ScaleForDpi(int value, UINT dpi);

// GetSystemMetrics' `index` at `dpi`. Never fails.
int SystemMetricForDpi(int index, UINT dpi);

// The window rectangle whose client area is `clientWidth` by `clientHeight` for a window
// of `style` and `exStyle` without a menu, at `dpi`. Never fails.
SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The width and height of `text` in `font`, on one line. Never fails.
SIZE TextSize(HFONT font, const char* text);

// The font's average character width and line height. Never fails.
SIZE FontUnits(HFONT font);

}  // namespace printset::win32
