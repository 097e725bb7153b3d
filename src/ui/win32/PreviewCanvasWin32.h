// TPreviewCanvasWin32: the NVRAM page's preview, a child window of a class of its own that
// paints one logo as it will print, its dots black on white paper in a frame. Scaled by
// whole factors only, never smoothed (PlacePreview): a small logo is enlarged, each dot a
// square of screen pixels; a larger one is shrunk by a whole divisor, a pixel black when
// any dot it stands for prints, and "1:N" is written in the canvas's bottom right corner
// (the window's text is "1:N" then, else empty).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "logo/DotBitmap.h"
#include "ui/win32/DpiWin32.h"
#include "ui/win32/PreviewPlacementWin32.h"

namespace printset::win32 {

class TPreviewCanvasWin32 {
 public:
  // Creates the canvas, hidden, as child `id` of `parent`. Never fails (without a window,
  // the canvas shows nothing).
  TPreviewCanvasWin32(HWND parent, int id);
  ~TPreviewCanvasWin32();
  TPreviewCanvasWin32(const TPreviewCanvasWin32&) = delete;
  TPreviewCanvasWin32& operator=(const TPreviewCanvasWin32&) = delete;

  // The canvas window. Never fails.
  HWND Handle() const { return Window; }
  // Writes "1:N" in `font`, with the paper's margin at `dpi`. Never fails.
  void SetMetrics(HFONT font, UINT dpi);
  // Shows `dots` (nothing for a null bitmap). Never fails.
  void ShowDots(const TDotBitmap& dots);
  // "1:N" while the logo is shrunk by N to fit; empty otherwise. Never fails.
  const std::string& ScaleText() const { return Scale; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Works out the placement for the canvas's size, and the bitmap drawn.
  void Rescale();
  void Paint(HDC dc) const;

  HWND Window = nullptr;
  HFONT Font = nullptr;
  UINT Dpi = kDefaultDpi;
  TDotBitmap Dots;
  TPreviewPlacement Placement;
  // Dots, shrunk by the placement's divisor, as a top-down one-bit DIB's rows.
  int ShownWidth = 0;
  int ShownHeight = 0;
  std::vector<uint8_t> ShownRows;
  std::string Scale;
};

}  // namespace printset::win32
