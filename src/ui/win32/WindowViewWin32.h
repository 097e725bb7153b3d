// TWindowViewWin32: the Win32 side of the front-end core. It shows what the core decides
// (boxes, sounds, progress and status text, the link's BAUD RATE box, the greyed-out
// buttons and the focus after an operation), opens the image dialog, and hands the
// worker's calls over to the window's thread as posted messages.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <string>

#include "frontend/FrontEndView.h"
#include "frontend/JobDispatcher.h"
#include "settings/AppPaths.h"

namespace printset::win32 {

class TLogoPageWin32;

// The message that tells the window calls are queued for it.
constexpr UINT kRunPostedMessage = WM_APP + 1;

// The window's controls the view shows through; null until the window is made.
struct TMainControlsWin32 {
  HWND Window = nullptr;
  HWND ComboPort = nullptr;
  HWND ComboBaud = nullptr;
  HWND PageControl = nullptr;
  HWND ComboSetBaudRate = nullptr;
  HWND ComboCodePage = nullptr;
  HWND EditString = nullptr;
  HWND ButtonSet = nullptr;
  HWND ButtonProgram = nullptr;
  HWND StatusBar = nullptr;
  TLogoPageWin32* LogoPage = nullptr;
};

class TWindowViewWin32 final : public TFrontEndView, public TJobDispatcher {
 public:
  // Boxes stand over controls.Window; `controls` are the window's, which must outlive the
  // view; the sounds are found as FindProgramFile finds them. Never fails.
  TWindowViewWin32(const TMainControlsWin32& controls, const TAppPaths& paths);
  TWindowViewWin32(const TWindowViewWin32&) = delete;
  TWindowViewWin32& operator=(const TWindowViewWin32&) = delete;

  // The button of the operation about to start, which gets the focus back when it ends.
  void SetOperationButton(HWND button) { OperationButton = button; }
  // Called when an operation starts. Never fails.
  void SetJobStartedHandler(std::function<void()> handler) { JobStarted = std::move(handler); }

  // Runs the calls queued so far, in order, on the window's thread (on kRunPostedMessage).
  void RunPosted();
  // The window goes: calls still queued, and those posted from now on, are dropped unrun.
  void Detach();

  void ShowMessage(const std::string& title, const std::string& beneath) override;
  bool AskChoice(const std::string& title, const std::string& beneath, const std::string& action) override;
  void ShowError(const std::string& caption, const std::string& text) override;
  void PlaySound(const std::string& fileName) override;
  void ShowProgress(int32_t done, int32_t total, const std::string& text) override;
  void ShowStatusText(const std::string& text) override;
  void SetLinkRate(int32_t rate) override;
  void SetBusy(bool busy) override;
  TChosenFile ChooseImageFile(const std::string& startFolder) override;
  // Queues `call` and posts kRunPostedMessage to the window; any thread.
  void Post(std::function<void()> call) override;

 private:
  const TMainControlsWin32& Controls;
  const TAppPaths Paths;
  HWND OperationButton = nullptr;
  std::function<void()> JobStarted;
  std::mutex QueueMutex;
  std::deque<std::function<void()>> Queue;
  bool Detached = false;  // the window has gone
};

}  // namespace printset::win32
