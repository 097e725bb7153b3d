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
  TReplyShape& shape = Shapes[command];
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (StopFlag && StopFlag->load()) throw TLinkCancelled();
    // Whatever is waiting now (a duplicate, a reply that came after its wait ended)
    // cannot be the reply to the request about to go out.
    DiscardWaitingInput();
    if (!SendPacket(request.data(), static_cast<int>(request.size()))) continue;
    const TReplyMatch match = MatchFor(command, argument);
    TReplyHeader header;
    const int result = ReceiveReply(data, replyCapacity, ms, match, &header);
    if (result < 0) continue;
    // With the input emptied before the send, the first reply is this request's own: it
    // shows whether the printer echoes this command.
    if (shape == TReplyShape::Unknown)
      shape = header.Command == command && header.Argument == argument ? TReplyShape::Echoed : TReplyShape::Own;
    return result;
  }
  ResultCode = kResultNoReply;
  return -1;
}

TReplyMatch TPacketLink::MatchFor(uint16_t command, uint32_t argument) const {
  TReplyMatch match;
  match.Command = command;
  match.Argument = argument;
  const auto found = Shapes.find(command);
  match.Required = found != Shapes.end() && found->second == TReplyShape::Echoed;
  if (match.Required) return match;
  // Still learning this command. A printer seen to echo two different commands carries
  // its requests' commands in its replies, so a packet naming another of those commands
  // is a late reply to that one, not the first reply to this. One echoed command alone
  // proves nothing: a printer may answer everything with one fixed header.
  for (const auto& [other, shape] : Shapes)
    if (other != command && shape == TReplyShape::Echoed) match.OtherCommands.push_back(other);
  if (match.OtherCommands.size() < 2) match.OtherCommands.clear();
  return match;
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
  return false;
}

int TPacketLink::ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms, const TReplyMatch& match,
                              TReplyHeader* header) {
  return Transport->Receive(data, replyCapacity, ms, Trace, match, header);
}

}  // namespace printset
