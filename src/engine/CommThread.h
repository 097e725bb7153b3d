// TCommThread: the one worker that talks to the printer. It runs one job at a time,
// handed over by StartJob; its progress, status text and outcome go to its TJobObserver,
// the outcome last. Between jobs it is parked.
//
// Failure convention of the engine: every job ends with a result code (ResultCodes.h) and
// what explains it in its TJobOutcome; nothing a job meets crosses the worker as an
// exception. The link below reports by status only (a count or -1, true or false, and
// a reason: TLineFailure, LostReason, an open error) and the job steps here map those
// statuses to result codes. A step that fails returns false (or -1) with the code set in
// the outcome; an exception (a file that cannot be read, data too long for a packet, no
// memory) is caught at the job loop only and ends the job with kResultJobError. A stop is
// kResultCancelled, never an exception.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/DateTime.h"
#include "engine/Job.h"
#include "engine/JobObserver.h"
#include "link/PacketLink.h"
#include "link/TraceLog.h"
#include "link/Transport.h"

namespace printset {

constexpr int kParamBufferSize = 1024;
constexpr int kBlockBufferSize = 4096;
constexpr int kBlockSize = 256;
constexpr int32_t kTransferBaudRate = 115200;

class TCommThread {
 public:
  // A worker reporting to `observer`, which must outlive it; the thread starts with the
  // first job (or StartWorker).
  explicit TCommThread(TJobObserver& observer);
  ~TCommThread();
  TCommThread(const TCommThread&) = delete;
  TCommThread& operator=(const TCommThread&) = delete;

  // Starts the worker thread now, parked until the first job, where StartJob would start
  // it; std::system_error when the system refuses (its thread limit).
  void StartWorker();
  // Hands a job to the worker; its end is the observer's Finished call. Refused (false,
  // nothing changed) while a job runs; std::system_error, nothing changed, when the
  // worker cannot be started.
  bool StartJob(const TJob& job);
  // Whether a job is handed over or running (false again once its Finished call is
  // made). Never fails.
  bool JobRunning();
  // Asks the running (or the next) job to stop before its next request; it then ends
  // with kResultCancelled. Safe from any thread, including a signal-handling one.
  void RequestStop() { CancelFlag.store(true); }
  // Lets other programs open the line while this one still holds it, for a process about
  // to quit (the line's ReleaseExclusiveUse). Safe from any thread, also while a job opens
  // or closes the line. Never fails.
  void ReleaseLine();

  // `observer` sees each trace line of the following jobs as it is written, on the
  // worker thread. Refused (false, nothing changed) while a job runs.
  bool SetTraceObserver(TTraceObserver observer);

 private:
  friend class TCommThreadProbe;  // the tests' view of the worker's state

  // The job bodies and the link session, on the worker thread only. A step that fails
  // returns false (or -1) and leaves its result code in Outcome.ResultCode.
  void ReportProgress(const std::string& text, int32_t done, int32_t total, bool statusPanel);
  // Opens the line to the job's printer (made by the transport factory) and finds it.
  bool OpenLink();
  // Identifies the printer at the line's rate, then at each of the target's SearchRates
  // until one answers; the line and LinkBaudRate stay at the rate it answered at.
  bool FindPrinter();
  bool IdentifyDevice(int attempts);
  // Lets what the printer still sends at the line's rate arrive, and drops it (traced).
  void LeaveRate();
  bool SwitchBaudRate(int32_t rate);
  bool EnterProgramMode();
  bool EnterDownloadMode();
  void CloseLink();
  void RunDownloadFiles();
  void RunSetParameters();
  void RunProgramFirmware();
  void RunIdentifyPrinter();
  // The link's Transact, its failure made a result code: a request held back by a stop
  // leaves the result code as it is, any other failure is kResultNoValidReply, and one
  // that failed for the line itself leaves the reason in Outcome.LinkFailure. Data too
  // long for a packet are a fault of the job's own code: thrown, so that the job ends on
  // an error.
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms);
  void TraceLine(std::string line) { TraceLog.TraceLine(std::move(line)); }
  // Takes `job` while the worker is parked.
  void TakeJob(const TJob& job);
  void Execute();
  void StartWorkerLocked();  // with Mutex held
  void FinishJob();
  void ReleaseLinkAfterError();
  // Puts `line` in place of the line in use, under LineMutex; returns the one replaced.
  std::unique_ptr<TTransport> SwapLine(std::unique_ptr<TTransport> line);

  TJobObserver& Observer;

  // The job handed over, as it was given; read by the job bodies.
  TJob Job;
  // How the job is going; handed to the observer when it ends.
  TJobOutcome Outcome;

  // The worker's own state.
  TTraceLog TraceLog;
  TDateTime LastProgressPost = 0;
  // The rate the printer listens at: the target's, until a search finds another.
  int32_t LinkBaudRate = 0;

  // The line of the current (or last) job, made for its port name when the link opens.
  // Replaced only under LineMutex, so that ReleaseLine from another thread finds the
  // line in use or none.
  std::unique_ptr<TTransport> Line;
  std::mutex LineMutex;
  TPacketLink Link;

  std::atomic<bool> CancelFlag{false};
  std::mutex Mutex;
  std::condition_variable Wake;
  bool Running = false;  // exactly while a job is handed over or running
  bool Pending = false;
  bool StopRequested = false;
  std::thread Worker;
};

}  // namespace printset
