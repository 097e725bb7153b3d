#include "frontend/OperationRunner.h"

#include <utility>

#include "base/Text.h"
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
      Dispatcher(dispatcher),
      Self(std::make_shared<TOperationRunner*>(this)),
      Channel(std::make_unique<TChannel>(dispatcher, Self, stateFolder + kTraceFileName)),
      Thread(std::make_unique<TCommThread>(*Channel)) {}

TOperationRunner::~TOperationRunner() {
  Self.reset();
  Thread.reset();
}

void TOperationRunner::SetLinkSettings(const TLinkSettings& link) {
  PortMap = link.PortMap;
  Network = {link.NetworkHost, link.NetworkPort};
}

bool TOperationRunner::Start(const TOperation& operation, const std::string& portName, int32_t baudRate) {
  TLinkTarget target;
  // A blank around a typed name is never part of it, and would be invisible in the
  // message that the port could not be opened.
  target.PortName = Trim(portName);
  target.BaudRate = baudRate;
  target.PortMap = PortMap;
  target.Network = Network;
  return StartJob({operation, std::move(target), false});
}

bool TOperationRunner::StartJob(TRunning running) {
  if (Busy()) return false;
  if (!Thread->StartJob(running.Operation.Job.At(running.Target))) return false;
  Running = std::move(running);
  View.SetBusy(true);
  return true;
}

void TOperationRunner::Finished(const TJobOutcome& outcome) {
  if (!Running) return;
  const TRunning ran = std::move(*Running);
  Running.reset();
  View.SetBusy(false);
  const TShownOutcome shown = ran.Search ? SearchOutcome(outcome, ran.Target)
                                         : OperationOutcome(outcome, ran.Target, ran.Operation.NewBaudRate);
  View.PlaySound(shown.Sound);
  if (shown.PrinterRate > 0) View.SetLinkRate(shown.PrinterRate);
  if (!shown.OfferSearch) {
    View.ShowMessage(shown.Title, shown.Beneath());
    return;
  }
  if (!View.AskChoice(shown.Title, shown.Beneath(), kSearchRatesButton)) return;
  // Identify only: the operation itself is the operator's to start again at the rate found.
  StartJob({{"detect", TJob::IdentifyPrinter(), 0}, SearchTarget(ran.Target), true});
}

}  // namespace printset
