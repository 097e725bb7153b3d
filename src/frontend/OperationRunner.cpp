#include "frontend/OperationRunner.h"

#include <utility>

#include "frontend/LinkTarget.h"
#include "frontend/PrinterOutcome.h"
#include "frontend/ShownOutcome.h"
#include "report/ProgressText.h"

namespace printset {

// The worker's channel: every call comes on the worker thread and is posted to the
// window's, where it reaches the runner only while the runner still exists.
class TOperationRunner::TChannel final : public TJobObserver {
 public:
  TChannel(TJobDispatcher& dispatcher, std::weak_ptr<TOperationRunner*> runner, std::string traceFilePath)
      : Dispatcher(dispatcher), Runner(std::move(runner)), TracePath(std::move(traceFilePath)) {}

  std::string TraceFilePath() override { return TracePath; }

  void Progress(int32_t done, int32_t total) override {
    Post([done, total](TOperationRunner& runner) {
      if (const auto text = FormatProgress(done, total)) runner.View.ShowProgress(done, total, *text);
    });
  }

  void StatusText(const std::string& text) override {
    Post([text](TOperationRunner& runner) { runner.View.ShowStatusText(text); });
  }

  void Finished(const TJobOutcome& outcome) override {
    Post([outcome](TOperationRunner& runner) { runner.Finished(outcome); });
  }

 private:
  template <typename TCall>
  void Post(TCall call) {
    Dispatcher.Post([runner = Runner, call = std::move(call)] {
      if (const std::shared_ptr<TOperationRunner*> alive = runner.lock()) call(**alive);
    });
  }

  TJobDispatcher& Dispatcher;
  const std::weak_ptr<TOperationRunner*> Runner;
  const std::string TracePath;
};

TOperationRunner::TOperationRunner(TFrontEndView& view, TJobDispatcher& dispatcher, const std::string& stateFolder)
    : View(view),
      StateFolder(stateFolder),
      Self(std::make_shared<TOperationRunner*>(this)),
      Channel(std::make_unique<TChannel>(dispatcher, Self, stateFolder + kTraceFileName)),
      Thread(std::make_unique<TCommThread>(*Channel)) {}

TOperationRunner::~TOperationRunner() {
  Self.reset();
  Thread.reset();
}

void TOperationRunner::SetSettings(const TLinkSettings& link, int32_t keptRuns) {
  Link = link;
  KeptRuns = keptRuns;
}

bool TOperationRunner::Start(const TRequest& request, const std::string& portName, int32_t baudRate) {
  return StartJob(request, PrinterTarget(portName, {baudRate, {}}, Link), false);
}

bool TOperationRunner::StartJob(const TRequest& request, TLinkTarget target, bool search) {
  if (Busy()) return false;
  if (!Thread->StartJob(request.Job().At(target))) return false;
  Running = TRunning{request, std::move(target), search, StartStationRun(), std::chrono::steady_clock::now()};
  View.SetBusy(true);
  return true;
}

std::vector<std::string> TOperationRunner::Record(const TRunning& ran, const TJobOutcome& outcome) const {
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - ran.Started;
  std::vector<TPrinterOutcome> outcomes{PrinterOutcome(ran.Request, ran.Target.PortName, outcome, seconds.count(),
                                                       StateFolder + kTraceFileName, ran.Target.PortMap,
                                                       TReasonFrontEnd::Window)};
  const std::string warnings = RecordStationRun(ran.Run, StateFolder, KeptRuns, ran.Request.Operation(),
                                                ran.Request.Inputs(), outcomes);
  return RecordWarningNotes(warnings);
}

void TOperationRunner::Finished(const TJobOutcome& outcome) {
  if (!Running) return;
  const TRunning ran = std::move(*Running);
  Running.reset();
  View.SetBusy(false);
  TShownOutcome shown = ran.Search ? SearchOutcome(outcome, ran.Target)
                                   : OperationOutcome(outcome, ran.Target, ran.Request.RateAfter());
  for (std::string& note : Record(ran, outcome)) shown.Notes.push_back(std::move(note));
  View.PlaySound(shown.Sound);
  if (shown.PrinterRate > 0) View.SetLinkRate(shown.PrinterRate);
  if (!shown.OfferSearch) {
    View.ShowMessage(shown.Title, shown.Beneath());
    return;
  }
  if (!View.AskChoice(shown.Title, shown.Beneath(), kSearchRatesButton)) return;
  // Identify only: the operation itself is the operator's to start again at the rate found.
  TLinkTarget searched = ran.Target;
  searched.SearchRates = SearchingEveryRate({ran.Target.BaudRate, {}}).SearchRates;
  // The worker has just ended its job and takes the next; a refusal would leave the
  // window idle, as after "OK".
  static_cast<void>(StartJob(RateSearchRequest(), std::move(searched), true));
}

}  // namespace printset
