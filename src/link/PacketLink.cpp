#include "link/PacketLink.h"

#include <string>
#include <vector>

#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

int TPacketLink::Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity,
                          int count, int attempts, uint32_t ms) {
  Failure = {};
  if (count < 0 || count > kMaxRequestData) {
    Failure = {TLineFailureKind::TooLong, "request data of " + std::to_string(count) + " bytes does not fit a packet"};
    return -1;
  }
  const std::vector<uint8_t> request = BuildRequest(command, argument, data, static_cast<size_t>(count));
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (StopFlag != nullptr && StopFlag->load()) {
      HeldBack = true;
      return -1;
    }
    // Whatever is waiting now (a duplicate, a reply that came after its wait ended)
    // cannot be the reply to the request about to go out.
    DiscardWaitingInput();
    if (!SendPacket(request.data(), static_cast<int>(request.size()))) {
      // A port that is gone takes no further attempt.
      if (Failure.Kind == TLineFailureKind::PortLost) break;
      continue;
    }
    TReplySeen seen;
    const int result = ReceiveReply(data, replyCapacity, ms, MatchFor(command, argument), &seen);
    Learn(command, argument, seen, result >= 0);
    if (result >= 0) {
      Failure = {};
      return result;
    }
    if (NotePortLost()) break;
  }
  return -1;
}

TReplyMatch TPacketLink::MatchFor(uint16_t command, uint32_t argument) const {
  TReplyMatch match;
  match.Command = command;
  match.Argument = argument;
  match.CommandEchoed = ShownCommands.size() >= kValuesThatProveAnEcho;
  match.ArgumentEchoed = ShownArguments.size() >= kValuesThatProveAnEcho;
  if (!FirstDataReply.empty() && command != FirstDataCommand) match.Copy = &FirstDataReply;
  return match;
}

void TPacketLink::Learn(uint16_t command, uint32_t argument, const TReplySeen& seen, bool accepted) {
  for (const TSeenPacket& skipped : seen.Skipped) SeenPackets.insert(skipped.Bytes);
  if (!accepted) return;
  const TSeenPacket& reply = seen.Accepted;
  // A repeat of a packet seen before proves nothing: a copy can carry any header.
  if (SeenPackets.insert(reply.Bytes).second) {
    if (reply.Command == command) ShownCommands.insert(command);
    if (reply.Argument == argument) ShownArguments.insert(argument);
  }
  if (FirstDataReply.empty() && reply.Bytes.size() > static_cast<size_t>(kHeaderSize)) {
    FirstDataReply = reply.Bytes;
    FirstDataCommand = command;
  }
}

void TPacketLink::ForgetReplyShapes() {
  HeldBack = false;
  ShownCommands.clear();
  ShownArguments.clear();
  SeenPackets.clear();
  FirstDataReply.clear();
  FirstDataCommand = 0;
}

void TPacketLink::DiscardWaitingInput() {
  const int discarded = Transport->DiscardInput();
  if (discarded > 0 && Trace.TraceEnabled)
    Trace.TraceLine("Discarded " + std::to_string(discarded) + " bytes waiting before the request" +
                    TraceTimestampNow());
}

bool TPacketLink::SendPacket(const uint8_t* bytes, int length) {
  if (Trace.TraceEnabled) {
    Trace.TraceLine("Send " + std::to_string(length) + " bytes" + TraceTimestampNow());
    if (length > kHeaderSize) {
      Trace.TraceHexDump(bytes, kHeaderSize);
      Trace.TraceHexDump(bytes + kHeaderSize, static_cast<size_t>(length - kHeaderSize));
    } else {
      Trace.TraceHexDump(bytes, static_cast<size_t>(length));
    }
  }
  std::string error;
  if (Transport->Send(bytes, length, error)) return true;
  if (Trace.TraceEnabled) Trace.TraceLine("Write failed: " + error + TraceTimestampNow());
  if (!NotePortLost()) Failure = {TLineFailureKind::SendRefused, error};
  return false;
}

bool TPacketLink::NotePortLost() {
  const std::string lost = Transport->LostReason();
  if (lost.empty()) return false;
  if (Failure.Kind != TLineFailureKind::PortLost && Trace.TraceEnabled)
    Trace.TraceLine("Port lost: " + lost + TraceTimestampNow());
  Failure = {TLineFailureKind::PortLost, lost};
  return true;
}

int TPacketLink::ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms, const TReplyMatch& match,
                              TReplySeen* seen) {
  return Transport->Receive(data, replyCapacity, ms, Trace, match, seen);
}

}  // namespace printset
