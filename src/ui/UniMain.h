// TfrmMain: the "PRINT SET" window. Controls and their handlers only: the settings come
// from the profile file, the logo set from its packing functions, and every transfer
// runs on the one TCommThread, which the window owns for its whole life.
#pragma once

#include <QEvent>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/CommThread.h"
#include "engine/JobHost.h"
#include "link/PortNames.h"
#include "link/UdpEndpoint.h"
#include "settings/AppPaths.h"
#include "settings/LogoSettings.h"

class QAbstractButton;
class QAction;
class QCloseEvent;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSoundEffect;
class QStatusBar;
class QTabWidget;

namespace printset {

class TPortComboBox;

// What the worker posts to the window. The offsets are the message numbers of TJobHost,
// so a trace of the event queue reads like the worker's own messages.
inline const QEvent::Type kEventJobFinished = static_cast<QEvent::Type>(QEvent::User + kMessageJobFinished);
inline const QEvent::Type kEventProgress = static_cast<QEvent::Type>(QEvent::User + kMessageProgress);
inline const QEvent::Type kEventStatusText = static_cast<QEvent::Type>(QEvent::User + kMessageProgress + 1);

class TWorkerEvent : public QEvent {
 public:
  TWorkerEvent(Type type, int32_t done, int32_t total, std::string text = {})
      : QEvent(type), Done(done), Total(total), Text(std::move(text)) {}
  const int32_t Done;
  const int32_t Total;
  const std::string Text;
};

// The executable's file name cut at its first dot: the caption of the operator's boxes.
QString ApplicationTitle();

class TfrmMain : public QWidget {
  Q_OBJECT

 public:
  // config.ini is read from and written to paths.ConfigFolder, which logo entries are shown
  // relative to; debug.log and logo.bin go to paths.StateFolder.
  explicit TfrmMain(const TAppPaths& paths, QWidget* parent = nullptr);
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Controls, each also findable by its object name.
  QWidget* Panel1 = nullptr;
  QLabel* Label5 = nullptr;
  TPortComboBox* ComboPort = nullptr;
  QLabel* Label6 = nullptr;
  QComboBox* ComboBaud = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;  // "PARA"
  QWidget* TabSheet2 = nullptr;  // "UPDATE"
  QWidget* TabSheet3 = nullptr;  // "NVRAM"
  QLabel* Label3 = nullptr;
  QComboBox* ComboSetBaudRate = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* ComboCodePage = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edString = nullptr;
  QPushButton* btSet = nullptr;
  QPushButton* btUpdate = nullptr;
  QLabel* Label13 = nullptr;
  QPushButton* btAddLogo = nullptr;
  QPushButton* btDeleteLogo = nullptr;
  QListWidget* ListLogo = nullptr;
  QPushButton* btLOGO = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusPanel0 = nullptr;  // progress and logo space
  QLabel* StatusPanel1 = nullptr;  // the worker's status text
  QFileDialog* OpenDialog1 = nullptr;
  QFileDialog* OpenPictureDialog1 = nullptr;
  QObject* ActionList1 = nullptr;
  QAction* actAddLogo = nullptr;
  QAction* actDelete = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* ADD1 = nullptr;
  QAction* N1 = nullptr;
  QAction* DELETE1 = nullptr;

  // Copies the port name (without surrounding blanks when `trim`) and the link baud rate
  // from the boxes at the top. A baud text that is not a whole number throws
  // TConvertError after PortName has been set.
  void ReadPortSettings(bool trim);
  // Starts the job, keeps the window alive until the worker is done, then sounds and
  // shows "OK" or "ERROR" with the reason beneath. The job's inputs must be in place.
  void RunJobAndReport(uint8_t jobCode);
  void ProgressMessage(int32_t done, int32_t total);
  // Rebuilds LogoSetBuffer from LogoPaths; false (after the operator's message) when a
  // picture failed, and the buffer then must not be sent.
  bool RebuildLogoSet();
  // The space the set takes, in status panel 0.
  void ShowLogoSpace();
  // A modal box with one OK button, captioned with the application's title; `reason`,
  // when given, stands beneath the text.
  void ShowMessage(const QString& text, const QString& reason = QString());

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private slots:
  void btSetClick();
  void btUpdateClick();
  void btLOGOClick();
  void actAddLogoExecute();
  void actDeleteExecute();
  void actAddLogoUpdate();
  void actDeleteUpdate();

 private:
  // The window's side of the worker. Kept apart from the window so that the fields can
  // carry the names the worker's interface uses for its methods. Everything here runs
  // on the worker thread: it reads fields that the GUI thread leaves alone while a job
  // runs, and reaches the GUI only through posted events.
  class TWindowHost final : public TJobHost {
   public:
    explicit TWindowHost(TfrmMain& window) : Window(window) {}
    std::string PortName() override { return Window.PortName; }
    int32_t PortBaudRate() override { return Window.PortBaudRate; }
    TPortMap PortMap() override { return Window.PortMap; }
    std::string ProgramFolder() override { return Window.ProgramFolder; }
    std::string TraceFilePath() override { return Window.Paths.StateFolder + kTraceFileName; }
    TUdpEndpoint& UdpClient() override { return Window.IdUDPClient1; }
    void PostMessage(uint32_t message, int32_t wParam, int32_t lParam) override;
    void ShowStatusText(const std::string& text) override;

   private:
    TfrmMain& Window;
  };

  void CreateControls();
  void FormCreate(const TAppPaths& paths);
  void FormDestroy();
  // Runs a click handler the way the toolkit's own handlers run: an error ends the
  // handler and shows its text in an error box.
  template <typename THandler>
  void Guarded(THandler handler);
  void ShowException(const std::exception& error);
  void PlaySound(const char* fileName);
  // SET, PROGRAM and DOWNLOAD: a second job must not start while one runs.
  bool JobBusy() const;
  void SetJobButtonsEnabled(bool enabled);
  int SelectedCodePageIndex() const;
  std::string EditDigits() const;
  void UpdateActions();

  // Fields, in the order the window has always listed them.
  std::vector<std::string> CodePageNames;
  std::array<int32_t, kCodePageCapacity> CodePageValues{};
  std::vector<std::string> LogoPaths;
  TLogoSettings LogoSettings;
  std::string PortName;
  int32_t PortBaudRate = 0;
  std::string ProgramFolder;  // the executable's
  TAppPaths Paths;
  std::vector<uint8_t> LogoSetBuffer;
  bool LogoSetComplete = true;  // false after a rebuild that stopped at a failing picture
  int LogoSetFailedIndex = -1;  // the entry it stopped at
  TPortMap PortMap;
  TUdpEndpoint IdUDPClient1;

  TWindowHost Host{*this};
  // Declared after everything the worker reads, so that it is stopped before they go.
  std::unique_ptr<TCommThread> CommThread;
  QSoundEffect* Sound = nullptr;
  bool WaitingForJob = false;
};

}  // namespace printset
