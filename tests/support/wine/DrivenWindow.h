// The real printset.exe driven from another process, as an operator would drive it:
// its controls found by id, clicks posted, texts typed and read, its modal boxes found,
// read and closed. Every wait has a deadline and fails naming what it waited for; the
// process is ended when the object goes, whatever happened.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace printset {

// A modal dialog of the window's process: a message box, the Open dialog or the choice box.
struct TDrivenBox {
  HWND Handle = nullptr;
  std::string Caption;
  std::string Text;    // a message box's text; empty for other dialogs
  bool HasIcon = false;  // a message box shows an icon (error boxes do, outcome boxes do not)
};

// Polls `condition` every few milliseconds until it holds. Throws std::runtime_error
// "waited N ms in vain for WHAT" when `timeoutMs` pass first.
void WaitUntil(const std::string& what, uint32_t timeoutMs, const std::function<bool()>& condition);

class TDrivenWindow {
 public:
  // How long one step of an operator may take before the driver gives up.
  static constexpr uint32_t kStepMs = 20000;

  // Copies `program` into `folder` (which holds config.ini: the copy runs portable),
  // starts it there and waits for its main window. Throws std::runtime_error when it
  // cannot be started or shows no window in time.
  TDrivenWindow(const std::string& program, const std::string& folder);
  // Ends the process if it still runs.
  ~TDrivenWindow();
  TDrivenWindow(const TDrivenWindow&) = delete;
  TDrivenWindow& operator=(const TDrivenWindow&) = delete;

  HWND Main() const { return MainWindow; }
  // The main window's child `id`; throws when it has none.
  HWND Control(int id) const;
  // The text a control holds (WM_GETTEXT); throws when the window does not answer.
  std::string Text(HWND control) const;
  std::string Text(int id) const { return Text(Control(id)); }
  // Types `text` into an edit or combo box: its text replaced, the window told of the edit.
  void Type(int id, const std::string& text);
  // Picks the item that reads `item` (blanks around it aside) in a combo box, as a click
  // in its list does.
  void Choose(int id, const std::string& item);
  // Shows page `index` of the tab control `id` (0 = the first).
  void ShowPage(int id, int index);
  // Clicks a button of the main window; returns at once (a click may open a modal box).
  void Click(int id);
  // Clicks the button `id` of a dialog; returns at once.
  void Click(HWND dialog, int id);
  // The text of panel `panel` of the status bar `id`, read through a buffer in the
  // window's process.
  std::string StatusPanel(int id, int panel) const;
  // The number of entries of the list box `id`.
  int ListCount(int id) const;
  // The entries of the list box `id`, in order.
  std::vector<std::string> ListItems(int id) const;
  // Selects entry `index` of the list box `id`, as a click on it does.
  void SelectListItem(int id, int index);
  // The rectangle a control writes for `message` about its item `index` (TCM_GETITEMRECT,
  // SB_GETRECT), read through a buffer in the window's process; throws when it refuses.
  RECT ItemRect(HWND control, UINT message, int index) const;
  // The formatting rectangle of the edit box `edit`: where its text is drawn, in its
  // client's coordinates.
  RECT EditRect(HWND edit) const;
  // The caption of item `index` of the tab control `tabs`, read through the buffer.
  std::string TabText(HWND tabs, int index) const;
  // Opens the pop-up menu of the control `id` as the menu key does, and waits until the
  // menu is shown; throws when it is not.
  HWND OpenContextMenu(int id);
  // Presses `keys` in the shown pop-up menu `menu`, one after another.
  void PressMenuKeys(HWND menu, const std::vector<WORD>& keys);

  // The modal dialog of the process that holds a child `childId`, once it is shown and
  // enabled; throws naming `what` after `timeoutMs`.
  TDrivenBox WaitForDialog(int childId, const std::string& what, uint32_t timeoutMs = kStepMs) const;
  // A message box (MessageBox's text control).
  TDrivenBox WaitForMessageBox(const std::string& what, uint32_t timeoutMs = kStepMs) const;
  // The open dialog is shown: types `path` into its file name box and presses Open.
  void ChooseFile(const std::string& path, const std::string& what);
  // Presses `buttonId` of `box` and waits until the box has gone.
  void Dismiss(const TDrivenBox& box, int buttonId = IDOK);
  // Whether a dialog of the process (a box, the Open dialog) is up now.
  bool AnyDialogShown() const;

  // Asks the window to close (WM_CLOSE) and waits for the process to end; its exit code.
  DWORD Close();
  // Whether the process still runs.
  bool Running() const;

 private:
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
  std::string ItemText(HWND box, LRESULT index) const;
  HWND FindDialog(int childId) const;
  void WaitWhileRunning(const std::string& what, uint32_t timeoutMs, const std::function<bool()>& condition) const;

  HANDLE Process = nullptr;
  DWORD ProcessId = 0;
  HWND MainWindow = nullptr;
  void* RemoteBuffer = nullptr;  // in the window's process, for messages Wine does not carry
};

}  // namespace printset
