#include "engine/CommThread.h"

#include <algorithm>
#include <exception>

#include "engine/ResultCodes.h"
#include "link/PacketCodec.h"
#include "link/SerialTransport.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {
constexpr int64_t kProgressIntervalMs = 70;
}  // namespace

TCommThread::TCommThread(TJobObserver& observer)
    : Observer(observer),
      Line(std::make_unique<TSerialTransport>(SerialPort)),
      Link(*Line, TraceLog) {
  Link.StopFlag = &CancelFlag;
  // The worker itself starts with the first job.
}

TCommThread::~TCommThread() {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    StopRequested = true;
  }
  Wake.notify_all();
  if (Worker.joinable()) Worker.join();
}

void TCommThread::StartWorker() {
  std::lock_guard<std::mutex> lock(Mutex);
  StartWorkerLocked();
}

void TCommThread::StartWorkerLocked() {
  if (!Worker.joinable()) Worker = std::thread([this] { Execute(); });
}

bool TCommThread::StartJob(const TJob& job) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    if (JobCode != 0 || Pending || StopRequested) return false;
    // Started first: a worker that cannot start leaves nothing handed over.
    StartWorkerLocked();
    TakeJob(job);
    JobCode = job.Code();
    Pending = true;
  }
  Wake.notify_all();
  return true;
}

bool TCommThread::SetTraceObserver(TTraceObserver observer) {
  std::lock_guard<std::mutex> lock(Mutex);
  if (JobCode != 0 || Pending) return false;
  TraceLog.SetObserver(std::move(observer));
  return true;
}

// A block longer than the buffer keeps its length, so that the request is refused as too
// long for a packet before any byte past the buffer would be read.
static_assert(kMaxRequestData <= kParamBufferSize);

// The worker is parked: its inputs are the caller's to set.
void TCommThread::TakeJob(const TJob& job) {
  LinkPortName = job.Target().PortName;
  LinkBaudRate = job.Target().BaudRate;
  SerialPort.PortMap = job.Target().PortMap;
  LinkNetwork = job.Target().Network;
  SearchRates = job.Target().SearchRates;
  DownloadList = job.Entries();
  if (job.Image()) DataStream.Assign(*job.Image());
  else DataStream.Clear();
  const std::vector<uint8_t>& block = job.Block();
  std::copy(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(std::min(block.size(), sizeof ParamBuffer)),
            ParamBuffer);
  ParamLength = static_cast<int32_t>(block.size());
  ParamKeepsFoundRate = job.KeepsFoundRate();
  ParamCommand = job.Command();
  ParamArgument = static_cast<int32_t>(job.Argument());
}

TJobOutcome TCommThread::CurrentOutcome() const {
  TJobOutcome outcome;
  outcome.ResultCode = ResultCode;
  outcome.DeviceIdentity = DeviceIdentity;
  outcome.BaudRate = FoundRate;
  outcome.EveryRateTried = EveryRateTried;
  outcome.OpenError = OpenError;
  if (!TraceLog.GetLines().empty()) outcome.LastTraceLine = TraceLog.GetLines().back();
  outcome.TraceSaveError = TraceSaveError;
  outcome.BytesAcknowledged = BytesAcknowledged;
  outcome.BytesToSend = BytesToSend;
  outcome.FirmwareIncomplete = FirmwareIncomplete;
  outcome.TransferComplete = TransferComplete;
  outcome.SwitchUnansweredRate = SwitchUnansweredRate;
  outcome.SwitchStayedRate = SwitchStayedRate;
  outcome.BlockRate = BlockRate;
  outcome.LinkFailure = LinkFailure;
  return outcome;
}

bool TCommThread::JobRunning() {
  std::lock_guard<std::mutex> lock(Mutex);
  return JobCode != 0 || Pending;
}

void TCommThread::Execute() {
  for (;;) {
    uint8_t code = 0;
    {
      std::unique_lock<std::mutex> lock(Mutex);
      Wake.wait(lock, [this] { return Pending || StopRequested; });
      if (StopRequested) return;
      Pending = false;
      code = JobCode;
    }
    try {
      TraceLog.Clear();
      ResultCode = kResultOk;
      OpenError.clear();
      DeviceIdentity.clear();
      FoundRate = 0;
      EveryRateTried = false;
      TraceSaveError.clear();
      BytesAcknowledged = 0;
      BytesToSend = 0;
      FirmwareIncomplete = false;
      TransferComplete = false;
      SwitchUnansweredRate = 0;
      SwitchStayedRate = 0;
      BlockRate = 0;
      LinkFailure = {};
      Link.ForgetReplyShapes();
      switch (code) {
        case JobDownloadFiles: RunDownloadFiles(); break;
        case JobSetParameters: RunSetParameters(); break;
        case JobProgramFirmware: RunProgramFirmware(); break;
        case JobIdentifyPrinter: RunIdentifyPrinter(); break;
        default: break;
      }
      // A stop holds back the next request; the job body then ends as after a missing
      // reply and has closed the link. Whatever that set, the outcome is the stop.
      if (Link.Cancelled()) {
        ResultCode = kResultCancelled;
        TraceLine("CANCELLED on request, before the next request was sent" + TraceTimestampNow());
      }
    } catch (const std::exception& error) {
      // A job that broke on an error must never read as a success. The line is let go of
      // first, so that other programs (and the next job) can have it, and the error is
      // the trace's last line.
      ResultCode = kResultJobError;
      ReleaseLinkAfterError();
      TraceLine(std::string("ERROR ") + error.what() + TraceTimestampNow());
    } catch (...) {
      ResultCode = kResultJobError;
      ReleaseLinkAfterError();
      TraceLine("ERROR unknown error" + TraceTimestampNow());
    }
    // Once the printer took a block, a programming that failed before its end was
    // acknowledged has left neither firmware whole.
    FirmwareIncomplete =
        code == JobProgramFirmware && ResultCode != kResultOk && BytesAcknowledged > 0 && !TransferComplete;
    FinishJob();
  }
}

void TCommThread::ReleaseLinkAfterError() {
  try {
    CloseLink();
  } catch (...) {
    SerialPort.Close();  // whatever the transport did, the port is let go of
  }
}

void TCommThread::FinishJob() {
  {
    std::string path;
    try {
      path = Observer.TraceFilePath();
    } catch (...) {
      path = kTraceFileName;
    }
    std::string error;
    if (!TraceLog.SaveToFile(path, &error)) TraceSaveError = path + ": " + error;
  }
  const TJobOutcome outcome = CurrentOutcome();
  {
    std::lock_guard<std::mutex> lock(Mutex);
    // A stop asked for this job ends with it; the next job starts afresh.
    CancelFlag.store(false);
    JobCode = 0;
  }
  // The last call for the job: the owner may hand over the next one from here on.
  try {
    Observer.Finished(outcome);
  } catch (...) {
  }
}

void TCommThread::ReportProgress(const std::string& text, int32_t done, int32_t total, bool statusPanel) {
  if (statusPanel) {
    Observer.StatusText(text);
    return;
  }
  const TDateTime now = DateTimeNow();
  if (MilliSecondsBetween(now, LastProgressPost) > kProgressIntervalMs || done >= total) {
    LastProgressPost = now;
    Observer.Progress(done, total);
  }
}

}  // namespace printset
