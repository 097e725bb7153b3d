// TCommThread: the one worker that talks to the printer. It runs one job at a time,
// handed over by StartJob; its progress, status text and outcome go to its TJobObserver,
// the outcome last. Between jobs it is parked.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/DateTime.h"
#include "engine/DataStream.h"
#include "engine/Job.h"
#include "engine/JobObserver.h"
#include "link/PacketLink.h"
#include "link/TraceLog.h"
#include "link/Transport.h"
#include "link/UniUart.h"

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
  // Hands a job to the worker; its end is the observer's Finished call. Refused (false, nothing changed) while a job runs; std::system_error, nothing
  // changed, when the worker cannot be started.
  bool StartJob(const TJob& job);
  // Whether a job is handed over or running (false again once its Finished call is
  // made). Never fails.
  bool JobRunning();
  // Asks the running (or the next) job to stop before its next request; it then ends
  // with kResultCancelled. Safe from any thread, including a signal-handling one.
  void RequestStop() { CancelFlag.store(true); }
  // Lets other programs open the serial port while this one still holds it, for a
  // process about to quit. Safe from any thread.
  void ReleaseLine() { SerialPort.ReleaseExclusiveUse(); }

  // `observer` sees each trace line of the following jobs as it is written, on the
  // worker thread. Refused (false, nothing changed) while a job runs.
  bool SetTraceObserver(TTraceObserver observer);

 private:
  friend class TCommThreadProbe;  // the tests' view of the worker's state

  // The job bodies and the link session, on the worker thread only. A step that fails
  // returns false (or -1) and leaves its result code in ResultCode.
  void ReportProgress(const std::string& text, int32_t done, int32_t total, bool statusPanel);
  bool OpenLink(const std::string& portName);
  // Identifies the printer at the line's rate, then at each of SearchRates until one
  // answers; the line and LinkBaudRate stay at the rate it answered at.
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
  // leaves ResultCode as it is, any other failure is kResultNoValidReply, and one that
  // failed for the line itself leaves the reason in LinkFailure. Data too long for a
  // packet are a fault of the job's own code: thrown, so that the job ends on an error.
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms);
  void TraceLine(std::string line) { TraceLog.TraceLine(std::move(line)); }
  void TakeJob(const TJob& job);
  void Execute();
  void StartWorkerLocked();  // with Mutex held
  void FinishJob();
  // The outcome of the job that has just ended, from the worker's state.
  TJobOutcome CurrentOutcome() const;
  void ReleaseLinkAfterError();

  TJobObserver& Observer;

  // The job's inputs, taken from its TJob while no job runs.
  std::vector<TDownloadEntry> DownloadList;
  TDataStream DataStream;
  uint8_t ParamBuffer[kParamBufferSize] = {};
  int32_t ParamCommand = 0;
  int32_t ParamArgument = 0;
  int32_t ParamLength = 0;
  // The block's rate is replaced by the rate the printer was found at.
  bool ParamKeepsFoundRate = false;

  // The worker's state; its outcome goes to the observer when the job ends.
  TTraceLog TraceLog;
  TMyUart SerialPort;
  TDateTime LastProgressPost = 0;
  std::string LinkPortName;
  int32_t LinkBaudRate = 0;
  std::vector<int32_t> SearchRates;
  int32_t FoundRate = 0;
  bool EveryRateTried = false;
  TUdpAddress LinkNetwork;  // the printer's address for the port name "TCP/IP"
  uint8_t ResultCode = 0;
  std::string DeviceIdentity;
  std::string OpenError;
  std::string TraceSaveError;
  int64_t BytesAcknowledged = 0;
  int64_t BytesToSend = 0;
  bool FirmwareIncomplete = false;
  bool TransferComplete = false;
  int32_t SwitchUnansweredRate = 0;
  int32_t SwitchStayedRate = 0;
  int32_t BlockRate = 0;
  TLineFailure LinkFailure;

  // The line of the current (or last) job, made for its port name when the link opens.
  std::unique_ptr<TTransport> Line;
  TPacketLink Link;

  std::atomic<bool> CancelFlag{false};
  std::mutex Mutex;
  std::condition_variable Wake;
  uint8_t JobCode = 0;  // non-zero exactly while a job is handed over or running
  bool Pending = false;
  bool StopRequested = false;
  std::thread Worker;
};

}  // namespace printset
