// Where the NVRAM page's controls go: measured from the font at the window's DPI, then
// placed as the Linux page stands: "LOGO:" with ADD and DELETE at the right, the list,
// DOWNLOAD, then DOTS and THRESHOLD and the preview with its caption beneath.
#pragma once

#include <windows.h>

namespace printset::win32 {

// What the page's sizes come from, in pixels at the window's DPI.
struct TLogoPageMetrics {
  int UnitX = 0;  // a dialog's horizontal base unit: 4 units of layout spacing
  int UnitY = 0;  // a dialog's vertical base unit: 8 units
  int LineHeight = 0;
  int AverageChar = 0;
  int Edge = 0;         // a sunken box's border
  int ScrollWidth = 0;  // a scroll bar's, and a drop-down arrow's, width
  int LabelLogo = 0;    // text widths
  int LabelDots = 0;
  int LabelThreshold = 0;
  int Add = 0;
  int Delete = 0;
  int Download = 0;
  int WidestRule = 0;
  int ThresholdDigits = 0;
  int ListItemHeight = 0;
  int ComboHeight = 0;      // a closed drop-down list's height
  int ComboListHeight = 0;  // its list's, when open
};

// The controls' rectangles, from the page's top left corner, and the size they take.
struct TLogoPageRects {
  RECT LabelLogo{};
  RECT ButtonAdd{};
  RECT ButtonDelete{};
  RECT List{};
  RECT ButtonDownload{};
  RECT LabelDots{};
  RECT ComboDots{};
  RECT LabelThreshold{};
  RECT EditThreshold{};  // with the up-down that takes its right end
  RECT Preview{};
  RECT Caption{};
  SIZE Size{};
};

// Measures `font` at `dpi` on `window`, the list's lines and the rule box's closed
// height as the system draws them (WM_SETFONT sent to them before). Never fails.
TLogoPageMetrics MeasureLogoPage(HWND window, HFONT font, UINT dpi, HWND list, HWND ruleBox);

// Places the controls by `m`. Never fails.
TLogoPageRects PlaceLogoPage(const TLogoPageMetrics& m);

}  // namespace printset::win32
