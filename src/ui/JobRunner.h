// TJobRunner: the window's side of the worker. It holds the one TCommThread for the
// window's whole life, hands a job its inputs, starts it, waits for its outcome in the
// event loop while the window repaints, and reports the outcome: a sound, then an OK or
// ERROR box with the reason beneath. Every use of the worker's job interface is here.
// The worker's progress and status text come out as signals.
#pragma once

#include <QEvent>
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/Job.h"
#include "engine/JobObserver.h"
#include "engine/ParameterBlock.h"
#include "settings/AppPaths.h"
#include "settings/LinkSettings.h"

class QSoundEffect;
class QWidget;

namespace printset {

class TCommThread;

// What the worker's observer calls become in the window's event queue.
inline const QEvent::Type kEventJobFinished = static_cast<QEvent::Type>(QEvent::User);
inline const QEvent::Type kEventProgress = static_cast<QEvent::Type>(QEvent::User + 1);
inline const QEvent::Type kEventStatusText = static_cast<QEvent::Type>(QEvent::User + 2);

// One file for DOWNLOAD.
struct TDownloadFile {
  std::string Path;            // the file the bytes were saved to
  std::string Name;            // its name in the status text ("DOWNLOAD logo.bin")
  int32_t Command = 0;         // command code of its download blocks
  int32_t Base = 0;            // printer address of its first byte
  std::vector<uint8_t> Bytes;  // what is sent
};

class TJobRunner : public QObject {
  Q_OBJECT

 public:
  // The worker's observer calls are posted to `window` as events and taken out of its
  // event stream here; the outcome boxes stand over it.
  // debug.log goes to paths.StateFolder; the sounds are found as FindProgramFile finds
  // them. Never fails.
  TJobRunner(QWidget& window, const TAppPaths& paths);
  // Stops and joins the worker.
  ~TJobRunner() override;
  TJobRunner(const TJobRunner&) = delete;
  TJobRunner& operator=(const TJobRunner&) = delete;

  // Takes [PORTS] and [NETWORK]: the devices COMn stand for and the printer behind
  // "TCP/IP". Never fails; call it only while not Busy().
  void SetLinkSettings(const TLinkSettings& link);
  // The port name, without surrounding blanks, and the link baud rate the next job
  // opens. Never fails; call it only while not Busy().
  void SetPort(const std::string& portName, int32_t baudRate);
  // Whether a job has been started and its outcome not yet reported. Never fails.
  bool Busy() const;

  // SET: sends the parameter block, which moves the printer to `newBaudRate`, then
  // reports; after success at another rate, PrinterRateFound. Does nothing while Busy();
  // std::system_error, nothing sent, when the worker cannot be started.
  void RunSetParameters(const TParameterBlock& block, int32_t newBaudRate);
  // PROGRAM: sends the firmware image, then reports. Fails as RunSetParameters.
  void RunProgram(std::vector<uint8_t> image);
  // DOWNLOAD: sends the files in order, then reports. Fails as RunSetParameters.
  void RunDownload(const std::vector<TDownloadFile>& files);

 signals:
  // A job has started: SET, PROGRAM and DOWNLOAD go grey.
  void JobStarted();
  // The job has ended; emitted before the outcome is reported.
  void JobEnded();
  // Bytes done of the total, as the worker reports them.
  void Progress(int32_t done, int32_t total);
  // The worker's status text, e.g. "DOWNLOAD logo.bin".
  void StatusText(const QString& text);
  // The printer listens at `rate` from now on: found by a search, or set by SET.
  void PrinterRateFound(int32_t rate);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TWindowHost;

  // Starts the job for `target`, keeps the window alive until the worker is done, and
  // gives its outcome; nothing while Busy() or when the worker refuses the job.
  std::optional<TJobOutcome> RunJob(const TJob& job, TLinkTarget target);
  // RunJob for the chosen printer, then a sound and "OK" (with `afterOk` beneath) or
  // "ERROR" with the reason beneath; when no printer answered identify on a serial
  // line, the box offers to search the other rates. True after "OK".
  bool RunJobAndReport(const TJob& job, const QString& afterOk = QString());
  // Identify at every rate; the box says at which one the printer answered, and
  // PrinterRateFound tells the window.
  void SearchOtherRates();
  void PlaySound(const char* fileName);

  QWidget& Window;
  TAppPaths Paths;
  std::unique_ptr<TWindowHost> Host;
  // The printer the next job is for: the port and rate chosen, the settings' port map.
  TLinkTarget Target;
  // The printer's network address for the port name "TCP/IP", from the settings.
  TUdpAddress IdUDPClient1;
  // Declared after the host, which the worker calls, so that it stops first.
  std::unique_ptr<TCommThread> Thread;
  QSoundEffect* Sound = nullptr;
  bool WaitingForJob = false;
  // The outcome of the job RunJob waits for, set when its finished event is taken.
  std::optional<TJobOutcome> Ended;
};

}  // namespace printset
