// TWindowView: the Qt side of the front-end core. It shows what the core decides (boxes,
// sounds, progress and status text, the link's BAUD RATE box, the greyed-out buttons
// and the focus after an operation), opens the image dialog, and hands the worker's
// calls over to the window's thread as queued calls.
#pragma once

#include <QObject>
#include <QPointer>
#include <string>

#include "frontend/FrontEndView.h"
#include "frontend/JobDispatcher.h"
#include "settings/AppPaths.h"
#include "ui/UniLayout.h"

class QSoundEffect;
class QWidget;

namespace printset {

class TWindowView final : public QObject, public TFrontEndView, public TJobDispatcher {
  Q_OBJECT

 public:
  // Boxes stand over `window`; `controls` are the window's, which must outlive the view;
  // the sounds are found as FindProgramFile finds them. Never fails.
  TWindowView(QWidget& window, const TMainControls& controls, const TAppPaths& paths);

  // The button of the operation about to start, which gets the focus back when it ends.
  void SetOperationButton(QWidget* button) { OperationButton = button; }

  void ShowMessage(const std::string& title, const std::string& beneath) override;
  bool AskChoice(const std::string& title, const std::string& beneath, const std::string& action) override;
  void ShowError(const std::string& caption, const std::string& text) override;
  void PlaySound(const std::string& fileName) override;
  void ShowProgress(int32_t done, int32_t total, const std::string& text) override;
  void ShowStatusText(const std::string& text) override;
  void SetLinkRate(int32_t rate) override;
  void SetBusy(bool busy) override;
  TChosenFile ChooseImageFile(const std::string& startFolder) override;
  // A queued call on the window's thread; dropped when the view goes first.
  void Post(std::function<void()> call) override;

 signals:
  // An operation has started: the status bar's hint gives way to the panels.
  void JobStarted();

 private:
  QWidget& Window;
  const TMainControls& Controls;
  const TAppPaths Paths;
  QPointer<QWidget> OperationButton;
  QSoundEffect* Sound = nullptr;
};

}  // namespace printset
