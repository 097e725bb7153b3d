#include "ui/win32/DpiWin32.h"

#include <cstring>

namespace printset::win32 {

namespace {

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A function of user32 that older systems lack; null there.
template <typename TFunction>
TFunction User32Function(const char* name) {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  if (!user32) return nullptr;
  const FARPROC found = GetProcAddress(user32, name);
  TFunction function = nullptr;
  static_assert(sizeof(function) == sizeof(found));
  std::memcpy(&function, &found, sizeof(function));
  return function;
}

UINT ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  if (!screen) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  static_cast<void>(ReleaseDC(nullptr, screen));
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return ScreenDpi();
}

int ScaleForDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDefaultDpi)); }

HFONT CreateMessageFont(UINT dpi) {
  static const auto parametersForDpi = User32Function<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi");
  if (parametersForDpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
      const HFONT made = CreateFontIndirectW(&metrics.lfMessageFont);
      if (made) return made;
    }
  }
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // The system gives the font at the screen's DPI.
    LOGFONTA font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
    const HFONT made = CreateFontIndirectA(&font);
    if (made) return made;
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto metricsForDpi = User32Function<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
  if (metricsForDpi) return metricsForDpi(index, dpi);
  return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

SIZE WindowSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
  static const auto adjustForDpi = User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  RECT rect = {0, 0, clientWidth, clientHeight};
  const bool adjusted = adjustForDpi ? adjustForDpi(&rect, style, FALSE, exStyle, dpi) != 0
                                     : AdjustWindowRectEx(&rect, style, FALSE, exStyle) != 0;
  if (!adjusted) return SIZE{clientWidth, clientHeight};
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SIZE TextSize(HFONT font, const char* text) {
  SIZE size = {0, 0};
  const HDC dc = GetDC(nullptr);
  if (!dc) return size;
  const HGDIOBJ old = SelectObject(dc, font);
  RECT rect = {0, 0, 0, 0};
  // DrawText measures as the controls draw: no prefix characters, tabs expanded.
  if (DrawTextA(dc, text, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS) != 0)
    size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
  static_cast<void>(SelectObject(dc, old));
  static_cast<void>(ReleaseDC(nullptr, dc));
  return size;
}

SIZE FontUnits(HFONT font) {
  SIZE units = {6, 13};
  const HDC dc = GetDC(nullptr);
  if (!dc) return units;
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  if (GetTextMetricsA(dc, &metrics)) {
    // The average of the letters, as dialog units are reckoned, rather than tmAveCharWidth.
    SIZE letters = {};
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (GetTextExtentPoint32A(dc, alphabet, 52, &letters)) units.cx = (letters.cx / 26 + 1) / 2;
    else units.cx = metrics.tmAveCharWidth;
    units.cy = metrics.tmHeight;
  }
  static_cast<void>(SelectObject(dc, old));
  static_cast<void>(ReleaseDC(nullptr, dc));
  return units;
}

}  // namespace printset::win32
