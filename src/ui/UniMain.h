// TfrmMain: the "PRINT SET" window. The controls' handlers only: the settings come from
// the profile file, the logo list and its set from the NVRAM page, and every transfer
// runs through the core's operation runner, which the window holds for its whole life
// and which shows the outcome through the window's view.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/OperationRunner.h"
#include "frontend/Request.h"
#include "settings/AppPaths.h"
#include "settings/LogoSettings.h"
#include "ui/UniLayout.h"
#include "ui/WindowView.h"

class QCloseEvent;

namespace printset {

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  // config.ini is read from paths.ConfigFolder, which logo entries are shown relative
  // to, and written back there when the window closes; debug.log and logo.bin go to
  // paths.StateFolder. Never fails.
  explicit TfrmMain(const TAppPaths& paths, QWidget* parent = nullptr);
  // Stops and joins the worker; shows nothing (the settings were written at close).
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

 protected:
  // Refused while a job runs; otherwise writes [LOGO], [LOGOFILES] and [WINDOW] back to
  // config.ini, with an error box when that fails.
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void SaveSettings();
  // A line in the status bar over both panels, gone when a job starts or the logo list
  // changes.
  void ShowHint(const QString& hint);
  void btSetClick();
  void btUpdateClick();
  void btLOGOClick();
  // The link baud rate of the box at the top; a text that is not one of the printer's
  // rates throws (see ChosenBaudRate).
  int32_t LinkBaudRate() const;
  // Hands `request` to the runner for the printer of the boxes at the top, `button`
  // getting the focus back when it ends; a refusal is shown instead. True when it started.
  bool Start(const TChecked<TRequest>& request, QWidget* button);

  TAppPaths Paths;
  std::string ImageFolder;  // where PROGRAM's dialog was last left; empty: the config folder
  TCodePageTable CodePages;  // [CODEPAGE]: the CODE PAGE box's entries and their values
  TMainControls Controls;
  TWindowView View;
  // Declared after the view, which it shows through, so that its worker stops first.
  TOperationRunner Runner;
};

}  // namespace printset
