// A printer on the far end of the link, played in-process: it answers the packet
// protocol over a pseudo-terminal or UDP on its own service thread, records everything
// it was asked, and can be made to misbehave. Every public method is thread-safe.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sim/Pty.h"
#include "sim/RequestParser.h"
#include "sim/SimReply.h"
#include "sim/SparseMemory.h"

namespace printset {

constexpr const char* kSimDefaultIdentity = "PRN 7401";
constexpr int32_t kSimDefaultBaudRate = 9600;
constexpr int32_t kSimAnyRate = 0;
constexpr int32_t kSimDeaf = -1;

constexpr uint16_t kSimCommandIdentify = 0x20;
constexpr uint16_t kSimCommandBaudRate = 0x2B;
constexpr uint16_t kSimCommandMode = 0x2F;
constexpr uint16_t kSimCommandParameters = 0x60;
constexpr uint16_t kSimCommandFirmwareBlock = 0x2E;
constexpr uint32_t kSimModeProgramming = 0;
constexpr uint32_t kSimModeDownload = 1;
constexpr uint32_t kSimModeEndProgramming = 0xFFFFFFFF;

enum class TSimMode { Idle, Programming, Download, ProgrammingEnded };
const char* SimModeName(TSimMode mode);

struct TSimRequest {
  uint16_t Command = 0;
  uint32_t Argument = 0;
  std::vector<uint8_t> Data;
  bool ChecksGood = true;  // both check bytes held; a request failing them is never answered
  bool Answered = false;
};

// "cmd=0x2E arg=0x00000100 len=256 answered"
std::string SimLogLine(const TSimRequest& request);

class TSimPrinter {
 public:
  TSimPrinter() = default;
  ~TSimPrinter();
  TSimPrinter(const TSimPrinter&) = delete;
  TSimPrinter& operator=(const TSimPrinter&) = delete;

  // Transports: one per simulator. False with LastError() set when it cannot start.
  bool StartPty();
  bool StartUdp(uint16_t port);  // 127.0.0.1; port 0 picks a free one
  void Stop();
  std::string DevicePath() const;  // the pty's slave, for the host to open
  uint16_t UdpPort() const;
  std::string LastError() const;

  void SetIdentity(const std::string& identity);
  // Emulates an 8N1 line: one exchange lasts (request + reply bytes) x 10 / baud seconds
  // from the arrival of the request's first byte.
  void SetPacing(bool on);
  // The rate the printer listens at: it takes in bytes only while the host's line is set
  // to it (as a real printer sees only garbage at another rate), and a granted baud
  // switch or a parameter block moves it to the new rate. kSimAnyRate (the default):
  // every rate; kSimDeaf: nothing at any rate (a printer switched off).
  void SetListeningRate(int32_t rate);
  int32_t ListeningRate() const;

  // Faults.
  void SetFaults(const TSimFaults& faults);
  TSimFaults Faults() const;
  void SetNoReply(uint16_t command, bool on = true);
  void SetIgnoreFirst(int count);
  void SetBadHeaderCheck(bool on);
  void SetBadDataCheck(bool on);
  void SetStrayBytes(int count);
  void SetReplyDelay(int ms);
  void SetOversizeReply(int length);
  void SetLateDuplicate(int ms);
  void ClearFaults();

  // What the printer was asked and what it now holds.
  std::vector<TSimRequest> Requests() const;
  size_t RequestCount() const;
  // Waits until at least `count` requests have been taken in, up to `ms`; a safety limit
  // for callers that must not race the service thread.
  bool WaitForRequests(size_t count, int ms) const;
  std::vector<std::string> Log() const;
  std::vector<uint8_t> ParameterBlock() const;
  std::vector<uint8_t> DownloadRange(uint32_t address, size_t count) const;
  std::vector<TSparseMemory::TRegion> DownloadRegions() const;
  uint16_t DownloadCommand() const;  // of the last download block; 0 before any
  std::vector<uint8_t> FirmwareImage() const;
  TSimMode Mode() const;
  std::vector<uint32_t> ModeRequests() const;  // every accepted 0x2F argument, in order
  int32_t BaudRate() const;                    // as last told by 0x2B
  int32_t LineBaudRate() const;                // as set on the pty by the host; -1 on UDP
  bool LineExclusive() const;                  // the pty's exclusive-use flag (TIOCEXCL) is set
  void ClearRecords();                         // records and printer state; faults stay

  // Called on the service thread, without the lock held; set before starting.
  void OnRequest(std::function<void(const TSimRequest&, const std::string& logLine)> handler);
  void OnModeChange(std::function<void(TSimMode)> handler);

 private:
  struct TAction {
    TSimRequest Record;
    std::string LogLine;
    std::vector<uint8_t> Reply;  // empty: no reply
    int DelayMs = 0;
    int DuplicateMs = -1;
    bool StallLine = false;
    bool HangUp = false;
    std::vector<uint8_t> ForeignReply;  // UDP: sent from the foreign socket instead
    int32_t PaceRate = 0;  // the line rate the exchange is paced at; 0 when not paced
    int32_t TalkRate = kSimAnyRate;  // the rate the reply is sent at
    bool ModeChanged = false;
    TSimMode NewMode = TSimMode::Idle;
  };

  bool StartService();
  void Serve();
  void ServePty();
  void ServeUdp();
  TAction Decide(const TParsedRequest& request);
  std::vector<uint8_t> Apply(const TSimRequest& request, TAction& action);
  // Runs one request through Decide and sends its reply; false when stopping.
  bool Handle(const TParsedRequest& request, timespec arrival, const std::function<bool(const std::vector<uint8_t>&)>& send,
              const std::function<void(const std::vector<uint8_t>&)>& sendForeign = {});
  bool WaitStoppable(timespec deadline) const;
  void PaceUntil(timespec arrival, size_t wireBytes, int32_t rate);
  bool WriteToMaster(const std::vector<uint8_t>& bytes) const;
  // The bytes as the host reads them when sent at `talkRate`: at another rate a UART
  // reads only framing errors, given here as zero bytes, which never start a packet.
  std::vector<uint8_t> AsHeardByHost(const std::vector<uint8_t>& bytes, int32_t talkRate) const;
  // Whether bytes on the line now reach the printer: its listening rate allows them.
  bool HearsLine() const;

  mutable std::mutex Mutex;
  mutable std::condition_variable Changed;

  // Transport, fixed once started.
  std::thread Service;
  int StopFd = -1;
  int SocketFd = -1;
  int ForeignFd = -1;  // UDP: the "other host" for ForeignReplies
  TPtyHandles Pty;
  uint16_t Port = 0;
  std::string Error;

  // Behaviour and records, under Mutex.
  std::string Identity = kSimDefaultIdentity;
  bool Pacing = false;
  TSimFaults FaultSet;
  std::vector<TSimRequest> Records;
  bool Vanished = false;
  std::vector<std::string> LogLines;
  std::vector<uint8_t> Parameters;
  TSparseMemory Download;
  uint16_t DownloadCmd = 0;
  std::vector<uint8_t> Firmware;
  TSimMode CurrentMode = TSimMode::Idle;
  std::vector<uint32_t> Modes;
  int32_t ToldRate = kSimDefaultBaudRate;
  int32_t Listening = kSimAnyRate;

  // Service thread only.
  timespec LastExchangeEnd{};
  std::function<void(const TSimRequest&, const std::string&)> RequestHandler;
  std::function<void(TSimMode)> ModeHandler;
};

}  // namespace printset
