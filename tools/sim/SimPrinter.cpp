// The simulated printer's state: what each request does, and the thread-safe accessors.
// The service thread and the transports are in SimService.cpp.
#include "sim/SimPrinter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace printset {

namespace {

// A firmware block claiming an offset beyond this is recorded but not stored, so that a
// wild argument cannot exhaust memory.
constexpr uint64_t kFirmwareLimit = 16u << 20;

}  // namespace

const char* SimModeName(TSimMode mode) {
  switch (mode) {
    case TSimMode::Idle: return "idle";
    case TSimMode::Programming: return "programming";
    case TSimMode::Download: return "download";
    case TSimMode::ProgrammingEnded: return "programming ended";
  }
  return "?";
}

std::string SimLogLine(const TSimRequest& request) {
  char line[96];
  std::snprintf(line, sizeof line, "cmd=0x%02X arg=0x%08X len=%zu %s", request.Command, request.Argument,
                request.Data.size(),
                !request.ChecksGood ? "bad check" : request.Answered ? "answered" : "unanswered");
  return line;
}

TSimPrinter::TAction TSimPrinter::Decide(const TParsedRequest& request) {
  std::lock_guard<std::mutex> lock(Mutex);
  TAction action;
  action.Record.Command = request.Command;
  action.Record.Argument = request.Argument;
  action.Record.Data = request.Data;
  action.Record.ChecksGood = request.HeaderCheckGood && request.DataCheckGood;
  bool answer = action.Record.ChecksGood;
  TSimStep step;
  if (const auto found = FaultSet.Script.find(Records.size()); found != FaultSet.Script.end()) step = found->second;
  if (step.Vanish || step.HangUp) Vanished = true;
  // A request that goes unanswered on purpose has no effect either, as if it had been
  // lost on the line.
  if (answer && FaultSet.IgnoreFirst > 0) {
    --FaultSet.IgnoreFirst;
    answer = false;
  }
  if (answer && FaultSet.NoReplyCommands.count(request.Command)) answer = false;
  if (step.Drop || step.StallLine || Vanished) answer = false;
  action.StallLine = step.StallLine;
  action.HangUp = step.HangUp;
  if (!answer && FaultSet.ForeignReplies && action.Record.ChecksGood)
    action.ForeignReply = BuildFlawedReply(request.Command, request.Argument, {});
  if (answer) {
    // Paced at the rate the line runs at when the request arrives (on a pty: what the host
    // set), so a baud switch is answered at the old rate.
    if (Pacing) {
      const int32_t lineRate = Pty.SlaveFd >= 0 ? ReadLineBaudRate(Pty.SlaveFd) : -1;
      action.PaceRate = lineRate > 0 ? lineRate : ToldRate;
    }
    action.TalkRate = Listening;  // the reply goes out at the rate the request came in at
    std::vector<uint8_t> data = Apply(action.Record, action);
    const int oversize = step.OversizeLength > 0 ? step.OversizeLength : FaultSet.OversizeLength;
    if (oversize > 0) {
      data.resize(static_cast<size_t>(oversize));
      for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i);
    }
    TReplyFlaws flaws;
    flaws.BadHeaderCheck = FaultSet.BadHeaderCheck;
    flaws.BadDataCheck = FaultSet.BadDataCheck;
    flaws.StrayBytes = FaultSet.StrayBytes;
    uint16_t command = request.Command;
    uint32_t argument = request.Argument;
    if (FaultSet.Headers == TSimHeaders::CommandOnly) argument = 0;
    if (FaultSet.Headers == TSimHeaders::Fixed) {
      command = FaultSet.FixedCommand;
      argument = FaultSet.FixedArgument;
    }
    action.Reply = BuildFlawedReply(command, argument, data, flaws);
    action.DelayMs = FaultSet.DelayMs + step.DelayMs;
    action.DuplicateMs = step.DuplicateMs >= 0 ? step.DuplicateMs : FaultSet.LateDuplicateMs;
    FaultSet.LateDuplicateMs = -1;
    action.Record.Answered = true;
  }
  action.LogLine = SimLogLine(action.Record);
  // Recorded before the reply leaves, so a host holding the reply finds the records complete.
  Records.push_back(action.Record);
  LogLines.push_back(action.LogLine);
  Changed.notify_all();
  return action;
}

std::vector<uint8_t> TSimPrinter::Apply(const TSimRequest& request, TAction& action) {
  switch (request.Command) {
    case kSimCommandIdentify:
      return std::vector<uint8_t>(Identity.begin(), Identity.end());
    case kSimCommandBaudRate:
      ToldRate = static_cast<int32_t>(request.Argument);
      if (Listening > 0 && ToldRate > 0) Listening = ToldRate;
      return {};
    case kSimCommandMode:
      Modes.push_back(request.Argument);
      if (request.Argument == kSimModeProgramming) CurrentMode = TSimMode::Programming;
      else if (request.Argument == kSimModeDownload) CurrentMode = TSimMode::Download;
      else if (request.Argument == kSimModeEndProgramming) CurrentMode = TSimMode::ProgrammingEnded;
      action.ModeChanged = true;
      action.NewMode = CurrentMode;
      return {};
    case kSimCommandParameters:
      Parameters = request.Data;
      // The block starts with the rate the printer uses from now on, high byte first.
      if (Listening > 0 && Parameters.size() >= 4) {
        const int32_t rate = static_cast<int32_t>(uint32_t{Parameters[0]} << 24 | uint32_t{Parameters[1]} << 16 |
                                                  uint32_t{Parameters[2]} << 8 | Parameters[3]);
        if (rate > 0) Listening = rate;
      }
      return {};
    case kSimCommandFirmwareBlock: {
      const uint64_t end = static_cast<uint64_t>(request.Argument) + request.Data.size();
      if (end <= kFirmwareLimit) {
        if (Firmware.size() < end) Firmware.resize(static_cast<size_t>(end), 0xFF);
        std::copy(request.Data.begin(), request.Data.end(), Firmware.begin() + request.Argument);
      }
      return {};
    }
    default:
      if (CurrentMode == TSimMode::Download) {
        Download.Write(request.Argument, request.Data.data(), request.Data.size());
        DownloadCmd = request.Command;
      }
      return {};
  }
}

void TSimPrinter::SetIdentity(const std::string& identity) {
  std::lock_guard<std::mutex> lock(Mutex);
  Identity = identity;
}

void TSimPrinter::SetPacing(bool on) {
  std::lock_guard<std::mutex> lock(Mutex);
  Pacing = on;
}

void TSimPrinter::SetListeningRate(int32_t rate) {
  std::lock_guard<std::mutex> lock(Mutex);
  Listening = rate;
}

int32_t TSimPrinter::ListeningRate() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Listening;
}

void TSimPrinter::SetFaults(const TSimFaults& faults) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet = faults;
}

TSimFaults TSimPrinter::Faults() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return FaultSet;
}

void TSimPrinter::SetNoReply(uint16_t command, bool on) {
  std::lock_guard<std::mutex> lock(Mutex);
  if (on) FaultSet.NoReplyCommands.insert(command);
  else FaultSet.NoReplyCommands.erase(command);
}

void TSimPrinter::SetIgnoreFirst(int count) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.IgnoreFirst = count;
}

void TSimPrinter::SetBadHeaderCheck(bool on) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.BadHeaderCheck = on;
}

void TSimPrinter::SetBadDataCheck(bool on) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.BadDataCheck = on;
}

void TSimPrinter::SetStrayBytes(int count) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.StrayBytes = count;
}

void TSimPrinter::SetReplyDelay(int ms) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.DelayMs = ms;
}

void TSimPrinter::SetOversizeReply(int length) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.OversizeLength = length;
}

void TSimPrinter::SetLateDuplicate(int ms) {
  std::lock_guard<std::mutex> lock(Mutex);
  FaultSet.LateDuplicateMs = ms;
}

void TSimPrinter::ClearFaults() { SetFaults(TSimFaults{}); }

std::vector<TSimRequest> TSimPrinter::Requests() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Records;
}

size_t TSimPrinter::RequestCount() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Records.size();
}

bool TSimPrinter::WaitForRequests(size_t count, int ms) const {
  std::unique_lock<std::mutex> lock(Mutex);
  return Changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return Records.size() >= count; });
}

std::vector<std::string> TSimPrinter::Log() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return LogLines;
}

std::vector<uint8_t> TSimPrinter::ParameterBlock() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Parameters;
}

std::vector<uint8_t> TSimPrinter::DownloadRange(uint32_t address, size_t count) const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Download.Read(address, count);
}

std::vector<TSparseMemory::TRegion> TSimPrinter::DownloadRegions() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Download.Regions();
}

uint16_t TSimPrinter::DownloadCommand() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return DownloadCmd;
}

std::vector<uint8_t> TSimPrinter::FirmwareImage() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Firmware;
}

TSimMode TSimPrinter::Mode() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return CurrentMode;
}

std::vector<uint32_t> TSimPrinter::ModeRequests() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return Modes;
}

int32_t TSimPrinter::BaudRate() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return ToldRate;
}

int32_t TSimPrinter::LineBaudRate() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return ReadLineBaudRate(Pty.SlaveFd);
}

bool TSimPrinter::LineExclusive() const {
  std::lock_guard<std::mutex> lock(Mutex);
  return ReadLineExclusive(Pty.SlaveFd);
}

void TSimPrinter::ClearRecords() {
  std::lock_guard<std::mutex> lock(Mutex);
  Records.clear();
  LogLines.clear();
  Parameters.clear();
  Download.Clear();
  DownloadCmd = 0;
  Firmware.clear();
  CurrentMode = TSimMode::Idle;
  Modes.clear();
  ToldRate = kSimDefaultBaudRate;
  Vanished = false;
}

void TSimPrinter::OnRequest(std::function<void(const TSimRequest&, const std::string&)> handler) {
  std::lock_guard<std::mutex> lock(Mutex);
  RequestHandler = std::move(handler);
}

void TSimPrinter::OnModeChange(std::function<void(TSimMode)> handler) {
  std::lock_guard<std::mutex> lock(Mutex);
  ModeHandler = std::move(handler);
}

}  // namespace printset
