#include "ui/JobRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <utility>

#include "base/Text.h"
#include "engine/CommThread.h"
#include "engine/Commands.h"
#include "engine/ResultCodes.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"
#include "report/JobReason.h"
#include "settings/BaudRates.h"
#include "ui/MessageBoxes.h"

namespace printset {

namespace {

constexpr const char* kOkSound = "ok.wav";
constexpr const char* kErrorSound = "error.wav";
constexpr const char* kSearchRatesButton = "Search other rates";

class TWorkerEvent : public QEvent {
 public:
  TWorkerEvent(Type type, int32_t done, int32_t total, std::string text = {}, TJobOutcome outcome = {})
      : QEvent(type), Done(done), Total(total), Text(std::move(text)), Outcome(std::move(outcome)) {}
  const int32_t Done;
  const int32_t Total;
  const std::string Text;
  const TJobOutcome Outcome;
};

}  // namespace

// The worker's way back to the window. Everything here runs on the worker thread and
// reaches the GUI only through posted events.
class TJobRunner::TWindowHost final : public TJobObserver {
 public:
  TWindowHost(QObject& window, std::string programFolder, std::string traceFilePath)
      : Window(window), ProgramFolderPath(std::move(programFolder)), TracePath(std::move(traceFilePath)) {}

  std::string TraceFilePath() override { return TracePath; }

  void Progress(int32_t done, int32_t total) override {
    QCoreApplication::postEvent(&Window, new TWorkerEvent(kEventProgress, done, total));
  }

  void StatusText(const std::string& text) override {
    QCoreApplication::postEvent(&Window, new TWorkerEvent(kEventStatusText, 0, 0, text));
  }

  void Finished(const TJobOutcome& outcome) override {
    QCoreApplication::postEvent(&Window, new TWorkerEvent(kEventJobFinished, 0, 0, {}, outcome));
  }

  QObject& Window;
  const std::string ProgramFolderPath;  // the executable's
  const std::string TracePath;
};

TJobRunner::TJobRunner(QWidget& window, const TAppPaths& paths)
    : Window(window),
      Paths(paths),
      Host(std::make_unique<TWindowHost>(window, ExecutableFolder(), paths.StateFolder + kTraceFileName)),
      Thread(std::make_unique<TCommThread>(*Host)) {
  Window.installEventFilter(this);
}

TJobRunner::~TJobRunner() = default;

void TJobRunner::SetLinkSettings(const TLinkSettings& link) {
  Target.PortMap = link.PortMap;
  IdUDPClient1 = {link.NetworkHost, link.NetworkPort};
}

void TJobRunner::SetPort(const std::string& portName, int32_t baudRate) {
  // Every operation and the search alike: a blank around a typed name is never part of
  // it, and would be invisible in the message that the port could not be opened.
  Target.PortName = Trim(portName);
  Target.BaudRate = baudRate;
}

bool TJobRunner::Busy() const { return WaitingForJob || Thread->JobRunning(); }

void TJobRunner::RunSetParameters(const TParameterBlock& block, int32_t newBaudRate) {
  const int32_t before = Target.BaudRate;
  const bool serial = !ParseNetworkPortName(Target.PortName).IsNetwork;
  const TJob job = TJob::SetParameters(std::vector<uint8_t>(block.begin(), block.end()), kCommandSetParameters, 0);
  // Once the printer took the block it listens at its new rate: the next operation must
  // use it.
  const QString moved = serial && newBaudRate != before
                            ? QString("The printer now listens at %1 baud; the BAUD RATE box at the top is set to it.")
                                  .arg(newBaudRate)
                            : QString();
  if (RunJobAndReport(job, moved) && !moved.isEmpty()) emit PrinterRateFound(newBaudRate);
}

void TJobRunner::RunProgram(std::vector<uint8_t> image) {
  RunJobAndReport(TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(std::move(image))));
}

void TJobRunner::RunDownload(const std::vector<TDownloadFile>& files) {
  std::vector<TDownloadEntry> entries;
  for (const TDownloadFile& file : files)
    entries.push_back({file.Path, file.Name, static_cast<uint16_t>(file.Command), static_cast<uint32_t>(file.Base),
                       std::make_shared<const std::vector<uint8_t>>(file.Bytes)});
  RunJobAndReport(TJob::DownloadFiles(std::move(entries)));
}

std::optional<TJobOutcome> TJobRunner::RunJob(const TJob& job, TLinkTarget target) {
  if (Busy()) return std::nullopt;
  target.Network = IdUDPClient1;
  Ended.reset();
  if (!Thread->StartJob(job.At(std::move(target)))) return std::nullopt;
  WaitingForJob = true;
  emit JobStarted();
  // The event loop is the wait: it blocks while nothing is pending. The job-finished
  // event, the worker's last, ends the last blocking wait; progress events end earlier ones.
  do {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  } while (!Ended);
  WaitingForJob = false;
  emit JobEnded();
  return Ended;
}

bool TJobRunner::RunJobAndReport(const TJob& job, const QString& afterOk) {
  const std::optional<TJobOutcome> outcome = RunJob(job, Target);
  if (!outcome) return false;
  if (outcome->ResultCode == kResultOk) {
    PlaySound(kOkSound);
    ShowMessage(&Window, "OK", afterOk);
    return true;
  }
  PlaySound(kErrorSound);
  const std::string device = ResolvePortName(Target.PortName, Target.PortMap);
  const QString reason = QString::fromStdString(JobFailureReason(*outcome, device, {TReasonFrontEnd::Window}));
  // Nothing answered identify on a serial line that works: the printer may listen at
  // another rate.
  const bool unanswered = outcome->ResultCode == kResultNoValidReply && outcome->DeviceIdentity.empty() &&
                          outcome->LinkFailure.Kind == TLineFailureKind::None &&
                          !ParseNetworkPortName(Target.PortName).IsNetwork;
  if (!unanswered) {
    ShowMessage(&Window, "ERROR", reason);
  } else if (AskMessage(&Window, "ERROR", reason, kSearchRatesButton)) {
    SearchOtherRates();
  }
  return false;
}

void TJobRunner::SearchOtherRates() {
  TLinkTarget target = Target;
  target.SearchRates.assign(kBaudRates.begin(), kBaudRates.end());
  const std::optional<TJobOutcome> outcome = RunJob(TJob::IdentifyPrinter(), target);
  if (!outcome) return;
  const std::string device = ResolvePortName(Target.PortName, Target.PortMap);
  if (outcome->ResultCode == kResultOk) {
    PlaySound(kOkSound);
    emit PrinterRateFound(outcome->BaudRate);
    ShowMessage(&Window, QString("Printer found at %1 baud").arg(outcome->BaudRate),
                "The BAUD RATE box at the top is set to it: press the button again.");
    return;
  }
  PlaySound(kErrorSound);
  const QString where = outcome->BaudRate > 0 ? QString("\nIt answered at %1 baud.").arg(outcome->BaudRate) : QString();
  ShowMessage(&Window, "ERROR",
              outcome->ResultCode == kResultNoValidReply && outcome->LinkFailure.Kind == TLineFailureKind::None
                  ? QString::fromStdString("no printer answered on " + PrintablePortName(device) + " at any rate")
                  : QString::fromStdString(JobFailureReason(*outcome, device, {TReasonFrontEnd::Window})) + where);
}

void TJobRunner::PlaySound(const char* fileName) {
  const QString path = QString::fromStdString(FindProgramFile(Paths, Host->ProgramFolderPath, fileName));
  // The sound system is only woken for a file that is there: a missing sound is silence.
  if (path.isEmpty()) return;
  if (!Sound) Sound = new QSoundEffect(this);
  Sound->stop();
  Sound->setSource(QUrl::fromLocalFile(path));
  // Loads and plays in the background; the box is shown at once.
  Sound->play();
}

bool TJobRunner::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &Window) return false;
  const QEvent::Type type = event->type();
  if (type == kEventProgress) {
    const auto* message = static_cast<const TWorkerEvent*>(event);
    emit Progress(message->Done, message->Total);
    return true;
  }
  if (type == kEventStatusText) {
    emit StatusText(QString::fromStdString(static_cast<const TWorkerEvent*>(event)->Text));
    return true;
  }
  // Ends the blocking wait in RunJob with the job's outcome.
  if (type == kEventJobFinished) {
    Ended = static_cast<const TWorkerEvent*>(event)->Outcome;
    return true;
  }
  return false;
}

}  // namespace printset
