// The window's status bar: panel 0 the progress and the logos' space, panel 1 the
// worker's text; a hint may stand over both for a while.
#pragma once

#include <windows.h>

#include <string>

namespace printset::win32 {

constexpr int kProgressPanel = 0;
constexpr int kStatusPanel = 1;

// Creates the status bar at the bottom of `window` with id `id` and two panels. Never
// fails (null when the system cannot make it).
HWND CreateStatusBar(HWND window, int id);
// Panel 0 `panel0Width` wide, panel 1 the rest; the bar's height at its font. Never fails.
int LayOutStatusBar(HWND bar, int panel0Width);

// Sets or reads the text of `panel`. Never fail.
void SetStatusPanelText(HWND bar, int panel, const std::string& text);
std::string StatusPanelText(HWND bar, int panel);

// Shows `hint` over both panels until HideStatusHint; the panels keep their texts. Never fails.
void ShowStatusHint(HWND bar, const std::string& hint);
void HideStatusHint(HWND bar);

}  // namespace printset::win32
