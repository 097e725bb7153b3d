#include "engine/CommThread.h"

#include <exception>
#include <utility>

#include "engine/ResultCodes.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {
constexpr int64_t kProgressIntervalMs = 70;
}  // namespace

TCommThread::TCommThread(TJobObserver& observer) : Observer(observer), Link(TraceLog) {
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
    if (Running || Pending || StopRequested) return false;
    // Started first: a worker that cannot start leaves nothing handed over.
    StartWorkerLocked();
    TakeJob(job);
    Running = true;
    Pending = true;
  }
  Wake.notify_all();
  return true;
}

bool TCommThread::SetTraceObserver(TTraceObserver observer) {
  std::lock_guard<std::mutex> lock(Mutex);
  if (Running || Pending) return false;
  TraceLog.SetObserver(std::move(observer));
  return true;
}

// The worker is parked: the job is the caller's to set.
void TCommThread::TakeJob(const TJob& job) {
  Job = job;
  LinkBaudRate = job.Target().BaudRate;
}

void TCommThread::ReleaseLine() {
  const std::lock_guard<std::mutex> lock(LineMutex);
  if (Line) Line->ReleaseExclusiveUse();
}

std::unique_ptr<TTransport> TCommThread::SwapLine(std::unique_ptr<TTransport> line) {
  const std::lock_guard<std::mutex> lock(LineMutex);
  std::swap(Line, line);
  return line;
}

bool TCommThread::JobRunning() {
  std::lock_guard<std::mutex> lock(Mutex);
  return Running || Pending;
}

void TCommThread::Execute() {
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(Mutex);
      Wake.wait(lock, [this] { return Pending || StopRequested; });
      if (StopRequested) return;
      Pending = false;
    }
    const uint8_t code = Job.Code();
    try {
      TraceLog.Clear();
      Outcome = {};
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
        Outcome.ResultCode = kResultCancelled;
        TraceLine("CANCELLED on request, before the next request was sent" + TraceTimestampNow());
      }
    } catch (const std::exception& error) {
      // A job that broke on an error must never read as a success. The line is let go of
      // first, so that other programs (and the next job) can have it, and the error is
      // the trace's last line.
      Outcome.ResultCode = kResultJobError;
      ReleaseLinkAfterError();
      TraceLine(std::string("ERROR ") + error.what() + TraceTimestampNow());
    } catch (...) {
      Outcome.ResultCode = kResultJobError;
      ReleaseLinkAfterError();
      TraceLine("ERROR unknown error" + TraceTimestampNow());
    }
    // Once the printer took a block, a programming that failed before its end was
    // acknowledged has left neither firmware whole.
    Outcome.FirmwareIncomplete = code == JobProgramFirmware && Outcome.ResultCode != kResultOk &&
                                 Outcome.BytesAcknowledged > 0 && !Outcome.TransferComplete;
    FinishJob();
  }
}

void TCommThread::ReleaseLinkAfterError() {
  try {
    CloseLink();
  } catch (...) {
    // Whatever the transport did, the line is let go of with it.
    const std::unique_ptr<TTransport> dropped = SwapLine(nullptr);
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
    if (!TraceLog.SaveToFile(path, &error)) Outcome.TraceSaveError = path + ": " + error;
  }
  const std::vector<std::string>& lines = TraceLog.GetLines();
  Outcome.LastTraceLine = lines.empty() ? std::string() : lines.back();
  const TJobOutcome outcome = Outcome;
  {
    std::lock_guard<std::mutex> lock(Mutex);
    // A stop asked for this job ends with it; the next job starts afresh.
    CancelFlag.store(false);
    Running = false;
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
