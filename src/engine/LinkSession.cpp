// Opening, identifying, re-rating and closing the link to the printer for one job.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "engine/CommThread.h"
#include "engine/Commands.h"
#include "engine/PrinterIdentity.h"
#include "engine/ResultCodes.h"
#include "link/TraceFormat.h"
#include "link/TransportFactory.h"

namespace printset {

namespace {

constexpr const char kIdentifyData[] = "DEVICE??";
constexpr int kIdentifyAttempts = 3;
// At each further rate of a search: the line is quiet by then, one request tells.
constexpr int kSearchAttempts = 1;
constexpr uint32_t kIdentifyTimeoutMs = 200;

constexpr int kSwitchBaudAttempts = 1;
constexpr uint32_t kSwitchBaudTimeoutMs = 600;

constexpr int kModeAttempts = 3;
constexpr uint32_t kModeTimeoutMs = 600;

constexpr int kSmallReplyCapacity = 255;

constexpr auto kSettleAfterOpen = std::chrono::milliseconds(10);
constexpr auto kSettleAfterBaudChange = std::chrono::milliseconds(6);
constexpr auto kSettleAfterModeChange = std::chrono::milliseconds(30);
// Before the search leaves a rate: what the printer still sends at that rate (a reply on
// its way when the wait ended) arrives within this time and is dropped with it, so that
// no reply given at one rate answers the request at the next.
constexpr auto kSettleBeforeNextRate = std::chrono::milliseconds(100);

}  // namespace

bool TCommThread::OpenLink() {
  const TLinkTarget& target = Job.Target();
  const std::string& portName = target.PortName;
  // The line the last job left (closed) goes here; a release from another thread meets
  // it or the new one, never a line being destroyed.
  const std::unique_ptr<TTransport> previous =
      SwapLine(MakeTransport(portName, LinkBaudRate, target.PortMap, target.Network));
  Link.UseTransport(*Line);
  std::string error;
  if (!Line->Open(TraceLog, error)) {
    Outcome.ResultCode = kResultPortNotOpened;
    Outcome.OpenError = error;
    return false;
  }
  TraceLine("OPEN " + portName + TraceTimestampNow());
  std::this_thread::sleep_for(kSettleAfterOpen);
  return FindPrinter();
}

bool TCommThread::FindPrinter() {
  bool found = IdentifyDevice(kIdentifyAttempts);
  // A line without a rate has nothing to search; a printer that answered (with an
  // identity not accepted) is found, and a stop ends the search.
  const int32_t first = Line->BaudRate();
  if (!found && first != 0) {
    for (const int32_t rate : Job.Target().SearchRates) {
      if (Outcome.ResultCode != kResultNoValidReply || Link.Cancelled()) break;
      if (Outcome.LinkFailure.Kind == TLineFailureKind::PortLost) break;
      if (rate == first) continue;
      LeaveRate();
      if (!Line->SetBaudRate(rate)) {
        // Nothing was asked of the printer: a rate the port cannot make is passed over,
        // and a port that is gone ends the search.
        const std::string lost = Line->LostReason();
        if (!lost.empty()) {
          Outcome.LinkFailure = {TLineFailureKind::PortLost, lost};
          TraceLine("SEARCH " + std::to_string(rate) + " baud: the port was lost: " + lost + TraceTimestampNow());
          break;
        }
        TraceLine("SEARCH " + std::to_string(rate) + " baud: the port refused the rate" + TraceTimestampNow());
        continue;
      }
      TraceLine("SEARCH " + std::to_string(rate) + " baud" + TraceTimestampNow());
      std::this_thread::sleep_for(kSettleAfterBaudChange);
      Outcome.ResultCode = kResultOk;
      found = IdentifyDevice(kSearchAttempts);
      if (found || Outcome.ResultCode != kResultNoValidReply) LinkBaudRate = rate;
      if (found) break;
    }
  }
  if (found || Outcome.ResultCode == kResultIdentityRejected) Outcome.BaudRate = Line->BaudRate();
  Outcome.EveryRateTried = !found && first != 0 && !Job.Target().SearchRates.empty() &&
                           Outcome.ResultCode == kResultNoValidReply &&
                           Outcome.LinkFailure.Kind == TLineFailureKind::None && !Link.Cancelled();
  return found;
}

void TCommThread::LeaveRate() {
  std::this_thread::sleep_for(kSettleBeforeNextRate);
  const int discarded = Line->DiscardInput();
  if (discarded > 0)
    TraceLine("Discarded " + std::to_string(discarded) + " bytes that came at " + std::to_string(Line->BaudRate()) +
              " baud after its attempts" + TraceTimestampNow());
}

bool TCommThread::IdentifyDevice(int attempts) {
  uint8_t buffer[kBlockBufferSize];
  std::memcpy(buffer, kIdentifyData, 8);
  const int length =
      Transact(kCommandIdentify, 0, buffer, kBlockBufferSize - 1, 8, attempts, kIdentifyTimeoutMs);
  if (length < 0) return false;
  // The first 8 bytes are compared; a reply shorter than that leaves the tail of the
  // request in place, but only what the printer sent is reported as its identity.
  const std::string compared(reinterpret_cast<const char*>(buffer), 8);
  Outcome.DeviceIdentity = compared.substr(0, static_cast<size_t>(std::min(length, 8)));
  if (IsAcceptedIdentity(compared)) return true;
  Outcome.ResultCode = kResultIdentityRejected;
  return false;
}

bool TCommThread::SwitchBaudRate(int32_t rate) {
  const int32_t current = Line->BaudRate();
  if (current == 0 || current == rate) return true;  // no rate of its own, or already there
  uint8_t buffer[kSmallReplyCapacity + 1];
  // The printer is asked first; the port follows only once the reply came at the old rate.
  if (Transact(kCommandSwitchBaud, static_cast<uint32_t>(rate), buffer, kSmallReplyCapacity, 0,
               kSwitchBaudAttempts, kSwitchBaudTimeoutMs) < 0) {
    // A port that is gone takes nothing more: the job ends here.
    if (Outcome.LinkFailure.Kind == TLineFailureKind::PortLost) return false;
    // The link stays at its old rate; result code 3 marks the job as failed, and the
    // outcome says which switch it was.
    if (Outcome.SwitchUnansweredRate == 0) {
      Outcome.SwitchUnansweredRate = rate;
      Outcome.SwitchStayedRate = current;
    }
    return true;
  }
  if (!Line->SetBaudRate(rate)) {
    Outcome.ResultCode = kResultLocalBaudFailed;
    return false;
  }
  std::this_thread::sleep_for(kSettleAfterBaudChange);
  return true;
}

bool TCommThread::EnterProgramMode() {
  uint8_t buffer[kSmallReplyCapacity + 1];
  if (Transact(kCommandMode, kModeProgramming, buffer, kSmallReplyCapacity, 0, kModeAttempts, kModeTimeoutMs) < 0) {
    Outcome.ResultCode = kResultProgramModeRefused;
    return false;
  }
  std::this_thread::sleep_for(kSettleAfterModeChange);
  return true;
}

bool TCommThread::EnterDownloadMode() {
  uint8_t buffer[kSmallReplyCapacity + 1];
  if (Transact(kCommandMode, kModeDownload, buffer, kSmallReplyCapacity, 0, kModeAttempts, kModeTimeoutMs) < 0) {
    Outcome.ResultCode = kResultDownloadModeRefused;
    return false;
  }
  std::this_thread::sleep_for(kSettleAfterModeChange);
  return true;
}

int TCommThread::Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
                          int attempts, uint32_t ms) {
  const int result = Link.Transact(command, argument, data, replyCapacity, count, attempts, ms);
  if (result >= 0) return result;
  const TLineFailure& failure = Link.LineFailure();
  if (failure.Kind == TLineFailureKind::TooLong) throw std::length_error(failure.Text);
  if (Link.Cancelled()) return result;
  Outcome.ResultCode = kResultNoValidReply;
  if (failure.Kind != TLineFailureKind::None) Outcome.LinkFailure = failure;
  return result;
}

void TCommThread::CloseLink() {
  if (Line) Line->Close(TraceLog);
}

}  // namespace printset
