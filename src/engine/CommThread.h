// TCommThread: the one worker that talks to the printer. It runs one job at a time,
// handed over by StartJob and given back by JobDone; between jobs it is parked.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/AutoResetEvent.h"
#include "engine/DataStream.h"
#include "base/DateTime.h"
#include "engine/JobHost.h"
#include "engine/ResultCodes.h"
#include "link/PacketLink.h"
#include "link/TraceLog.h"
#include "link/Transport.h"
#include "link/UniUart.h"

namespace printset {

constexpr uint8_t JobDownloadFiles = 3;
constexpr uint8_t JobSetParameters = 4;
constexpr uint8_t JobProgramFirmware = 5;

constexpr int kParamBufferSize = 1024;
constexpr int kBlockBufferSize = 4096;
constexpr int kBlockSize = 256;
constexpr int32_t kTransferBaudRate = 115200;

// The bytes of one file to download, read once and shared by every worker that sends them.
using TSharedBytes = std::shared_ptr<const std::vector<uint8_t>>;

// The inputs of the download job: entry i is the i-th string of each list.
struct TDownloadList {
  std::vector<std::string> DownloadPaths;
  std::vector<std::string> DownloadNames;     // "-" skips the entry
  std::vector<std::string> DownloadCommands;  // a number (see DownloadBases); the low 16 bits are sent
  std::vector<std::string> DownloadBases;     // printer address of the first byte: decimal or 0x hex
                                              // up to 0xFFFFFFFF, or signed decimal
  // The bytes to send, read before the job; null: the file at the path is read when its
  // turn comes, and skipped when it is missing then.
  std::vector<TSharedBytes> DownloadBytes;
  void Clear();
  void Add(const std::string& path, const std::string& name, const std::string& command,
           const std::string& base, TSharedBytes bytes = nullptr);
};

class TCommThread {
 public:
  explicit TCommThread(TJobHost& host);
  ~TCommThread();
  TCommThread(const TCommThread&) = delete;
  TCommThread& operator=(const TCommThread&) = delete;

  // Starts the worker thread now, parked until the first job, where StartJob would start
  // it; std::system_error when the system refuses (its thread limit).
  void StartWorker();
  // Hands a job to the worker and clears JobDone, so that only this job's end signals
  // it. Refused (false, nothing changed) while a job runs; std::system_error, nothing
  // changed, when the worker cannot be started.
  bool StartJob(uint8_t jobCode);
  bool JobRunning();
  // Asks the running (or the next) job to stop before its next request; it then ends
  // with kResultCancelled. Safe from any thread, including a signal-handling one.
  void RequestStop() { CancelFlag.store(true); }

  TAutoResetEvent JobDone;
  // Outcome of the last job; read after JobDone.
  uint8_t ResultCode = 0;
  std::string DeviceIdentity;
  // Why the serial port did not open, in the system's words (after ResultCode 1).
  std::string OpenError;
  // Set when "debug.log" could not be written after the last job.
  std::string TraceSaveError;
  // Bytes of the job's data that the printer acknowledged, and how many there were to send.
  int64_t BytesAcknowledged = 0;
  int64_t BytesToSend = 0;
  // Set when programming failed after the printer accepted a block: its firmware is then
  // neither the old nor the new one, and the image must be programmed again.
  bool FirmwareIncomplete = false;

  // Job inputs, written only while no job runs.
  TDownloadList DownloadList;
  TDataStream DataStream;
  uint8_t ParamBuffer[kParamBufferSize] = {};
  int32_t ParamCommand = 0;
  int32_t ParamArgument = 0;
  int32_t ParamLength = 0;

  // For the job bodies and the link session (worker thread).
  void ReportProgress(const std::string& text, int32_t done, int32_t total, bool statusPanel);
  bool OpenLink(const std::string& portName);
  bool IdentifyDevice();
  bool SwitchBaudRate(int32_t rate);
  bool EnterProgramMode();
  bool EnterDownloadMode();
  void CloseLink();
  void RunDownloadFiles();
  void RunSetParameters();
  void RunProgramFirmware();
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms) {
    return Link.Transact(command, argument, data, replyCapacity, count, attempts, ms);
  }
  void TraceLine(std::string line) { TraceLog.TraceLine(std::move(line)); }

  TTraceLog TraceLog;
  TMyUart SerialPort;
  uint8_t TraceEnabled = 1;
  TDateTime LastProgressPost = 0;
  std::string LinkPortName;
  int32_t LinkBaudRate = 0;

 private:
  void Execute();
  void StartWorkerLocked();  // with Mutex held
  void RunJob();
  void FinishJob();
  void ReleaseLinkAfterError();

  TJobHost& Host;
  TJobHost* WindowHandle = nullptr;
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
