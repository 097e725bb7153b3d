// Whether what a window of printset.exe shows fits: every text of its visible controls
// inside the room its control gives it, measured in the message font at the window's DPI,
// and no two visible controls on top of each other.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/wine/DrivenWindow.h"

namespace printset {

// One line for each text of `parent`'s visible children that does not fit its control
// (statics, buttons, edit and combo boxes, the tab control's captions, the status bar's
// panels), and for each two visible children that overlap (the tab control, under its
// pages' controls, aside); empty when all fit. Throws when a control does not answer.
std::vector<std::string> Misfits(const TDrivenWindow& window, HWND parent);

}  // namespace printset
