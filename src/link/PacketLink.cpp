#include "link/PacketLink.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "link/PacketCodec.h"
#include "link/TraceFormat.h"

namespace printset {

int TPacketLink::Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity,
                          int count, int attempts, uint32_t ms) {
  if (count < 0 || count > kMaxRequestData)
    throw std::length_error("request data of " + std::to_string(count) + " bytes does not fit a packet");
  const std::vector<uint8_t> request = BuildRequest(command, argument, data, static_cast<size_t>(count));
  const uint64_t ownKey = HeaderKey(command, argument);
  TReplyShape& shape = Shapes[command];
  // Earlier requests' headers skipped in this request's failed attempts: seen again after
  // a new send, such a header is this request's reply.
  std::set<uint64_t> skippedBefore;
  bool extraAttemptUsed = false;
  Failure = {};
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (StopFlag != nullptr && StopFlag->load()) {
      HeldBack = true;
      return -1;
    }
    // Whatever is waiting now (a duplicate, a reply that came after its wait ended)
    // cannot be the reply to the request about to go out.
    DiscardWaitingInput();
    const bool sent = SendPacket(request.data(), static_cast<int>(request.size()));
    SentHeaders.insert(ownKey);
    if (!sent && Failure.Kind == TLineFailureKind::PortLost) break;
    if (!sent) continue;
    const TReplyMatch match = MatchFor(command, argument, skippedBefore);
    TReplySeen seen;
    const int result = ReceiveReply(data, replyCapacity, ms, match, &seen);
    if (result < 0) {
      if (NotePortLost()) break;
      if (match.Required || seen.Skipped.empty()) continue;
      for (const TReplyHeader& skipped : seen.Skipped) skippedBefore.insert(HeaderKey(skipped.Command, skipped.Argument));
      if (attempt + 1 == attempts && !extraAttemptUsed) {
        extraAttemptUsed = true;
        ++attempts;
      }
      continue;
    }
    const uint64_t takenKey = HeaderKey(seen.Accepted.Command, seen.Accepted.Argument);
    if (takenKey != ownKey && SentHeaders.count(takenKey)) FixedHeaders.insert(takenKey);
    // With the input emptied before the send, the first reply is this request's own: it
    // shows whether the printer echoes this command.
    if (shape == TReplyShape::Unknown) shape = takenKey == ownKey ? TReplyShape::Echoed : TReplyShape::Own;
    PrinterEchoes = PrinterEchoes || takenKey == ownKey;
    Failure = {};
    return result;
  }
  ResultCode = kResultNoReply;
  return -1;
}

TReplyMatch TPacketLink::MatchFor(uint16_t command, uint32_t argument, const std::set<uint64_t>& confirmed) const {
  TReplyMatch match;
  match.Command = command;
  match.Argument = argument;
  const auto found = Shapes.find(command);
  match.Required = found != Shapes.end() && found->second == TReplyShape::Echoed;
  // A printer that echoes carries its requests' headers in its replies, so a packet naming
  // an earlier request is that request's late or repeated reply. One that never echoed
  // gives no such sign, and every reply is taken as this request's.
  if (!match.Required && PrinterEchoes) {
    match.Earlier = &SentHeaders;
    match.Allowed = FixedHeaders;
    match.Allowed.insert(confirmed.begin(), confirmed.end());
  }
  return match;
}

void TPacketLink::ForgetReplyShapes() {
  Shapes.clear();
  HeldBack = false;
  PrinterEchoes = false;
  SentHeaders.clear();
  FixedHeaders.clear();
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
