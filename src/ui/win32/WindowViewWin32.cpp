#include "ui/win32/WindowViewWin32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "frontend/OperationRunner.h"
#include "ui/win32/BoxesWin32.h"
#include "ui/win32/ComboBoxWin32.h"
#include "ui/win32/LogoPageWin32.h"
#include "ui/win32/StatusBarWin32.h"

// Last: it names PlaySoundA PlaySound, which would rename the view's own.
#include <mmsystem.h>
#undef PlaySound

namespace printset::win32 {

namespace {

// The Open dialog's buffer for the chosen path.
constexpr DWORD kPathCapacity = 32768;
// Its filters: caption, then pattern, each ended by a NUL, and one more NUL at the end.
constexpr char kImageFilters[] = "BINARY FILE(*.bin)\0*.bin\0ALL FILE(*.*)\0*.*\0";

std::string WithBackslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

TWindowViewWin32::TWindowViewWin32(const TMainControlsWin32& controls, const TAppPaths& paths)
    : Controls(controls), Paths(paths) {}

void TWindowViewWin32::ShowMessage(const std::string& title, const std::string& beneath) {
  ShowMessageBox(Controls.Window, title, beneath);
}

bool TWindowViewWin32::AskChoice(const std::string& title, const std::string& beneath, const std::string& action) {
  return AskChoiceBox(Controls.Window, title, beneath, action);
}

void TWindowViewWin32::ShowError(const std::string& caption, const std::string& text) {
  ShowErrorBox(Controls.Window, caption, text);
}

void TWindowViewWin32::PlaySound(const std::string& fileName) {
  const std::string path = FindProgramFile(Paths, ExecutableFolder(), fileName);
  // A missing sound is silence, not the system's default sound.
  if (path.empty()) return;
  // Plays in the background; the box is shown at once. A file that cannot be played is
  // silence too.
  static_cast<void>(PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT));
}

void TWindowViewWin32::ShowProgress(int32_t, int32_t, const std::string& text) {
  SetStatusPanelText(Controls.StatusBar, kProgressPanel, text);
}

void TWindowViewWin32::ShowStatusText(const std::string& text) {
  SetStatusPanelText(Controls.StatusBar, kStatusPanel, text);
}

void TWindowViewWin32::SetLinkRate(int32_t rate) {
  ShowComboText(Controls.ComboBaud, BaudRateItem(rate));
}

void TWindowViewWin32::SetBusy(bool busy) {
  static_cast<void>(EnableWindow(Controls.ButtonSet, !busy));
  static_cast<void>(EnableWindow(Controls.ButtonProgram, !busy));
  if (Controls.LogoPage) Controls.LogoPage->SetDownloadEnabled(!busy);
  if (busy) {
    if (JobStarted) JobStarted();
    return;
  }
  // Greyed out, the button lost the focus; back on the button, Enter or Space runs the
  // operation again instead of typing over the port name.
  if (OperationButton && IsWindow(OperationButton)) static_cast<void>(SetFocus(OperationButton));
  if (StatusPanelText(Controls.StatusBar, kStatusPanel) == kBusyText)
    SetStatusPanelText(Controls.StatusBar, kStatusPanel, "");
}

TChosenFile TWindowViewWin32::ChooseImageFile(const std::string& startFolder) {
  std::vector<char> path(kPathCapacity, '\0');
  const std::string initialFolder = WithBackslashes(startFolder);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Controls.Window;
  dialog.lpstrFilter = kImageFilters;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER | OFN_HIDEREADONLY;
  TChosenFile chosen;
  chosen.Folder = startFolder;
  if (!GetOpenFileNameA(&dialog)) return chosen;
  chosen.Path = path.data();
  // The dialog is left in the chosen file's folder.
  const size_t slash = chosen.Path.find_last_of("\\/");
  if (slash != std::string::npos) chosen.Folder = chosen.Path.substr(0, slash + 1);
  return chosen;
}

void TWindowViewWin32::Post(std::function<void()> call) {
  HWND target = nullptr;
  {
    const std::lock_guard<std::mutex> lock(QueueMutex);
    if (Detached || !Controls.Window) return;
    Queue.push_back(std::move(call));
    target = Controls.Window;
  }
  // One message per call: a message lost to a full queue leaves its call for the next.
  static_cast<void>(PostMessageA(target, kRunPostedMessage, 0, 0));
}

void TWindowViewWin32::RunPosted() {
  for (;;) {
    std::function<void()> call;
    {
      const std::lock_guard<std::mutex> lock(QueueMutex);
      if (Queue.empty()) return;
      call = std::move(Queue.front());
      Queue.pop_front();
    }
    // Run unlocked: a call may show a modal box, under which the worker posts again.
    call();
  }
}

void TWindowViewWin32::Detach() {
  const std::lock_guard<std::mutex> lock(QueueMutex);
  Queue.clear();
  Detached = true;
}

}  // namespace printset::win32
