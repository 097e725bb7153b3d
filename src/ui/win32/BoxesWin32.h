// The operator's modal boxes on Windows: an outcome or message box, a box with one more
// choice, and an error box. Captions and texts are in the process's code page.
#pragma once

#include <windows.h>

#include <string>

namespace printset::win32 {

// The executable's file name cut at its first dot ("printset"): the caption of the
// operator's boxes. Never fails.
std::string ApplicationTitle();

// A modal box over `owner` with one OK button and no icon, captioned with the
// application's title: `text`, and `beneath` after a blank line when it is not empty
// (MessageBox, so that its text can be copied with Ctrl+C). Never fails.
void ShowMessageBox(HWND owner, const std::string& text, const std::string& beneath);

// A modal box like ShowMessageBox with a second button, `action`, beside OK (a dialog of
// the program's own, ids in ControlIds.h); true when the operator chose it. Never fails.
bool AskChoiceBox(HWND owner, const std::string& text, const std::string& beneath, const std::string& action);

// A modal error box over `owner` with the stop icon, captioned `caption` (empty: the
// application's title), holding `text` as it stands. Never fails.
void ShowErrorBox(HWND owner, const std::string& caption, const std::string& text);

}  // namespace printset::win32
