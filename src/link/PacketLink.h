// Request/reply exchange with the printer over a transport (the serial port or UDP),
// which the link session chooses when the link opens; nothing here asks which it is.
#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <vector>

#include "link/ReplyReceiver.h"
#include "link/TraceLog.h"
#include "link/Transport.h"

namespace printset {

class TPacketLink {
 public:
  // Requests go over `transport` until another is given; each must outlive its use.
  TPacketLink(TTransport& transport, TTraceLog& trace) : Transport(&transport), Trace(trace) {}
  // No transport yet: UseTransport must come before any request.
  explicit TPacketLink(TTraceLog& trace) : Transport(nullptr), Trace(trace) {}
  void UseTransport(TTransport& transport) { Transport = &transport; }
  // When set and true, no further request is sent: Transact returns -1 at once and
  // Cancelled() tells why.
  const std::atomic<bool>* StopFlag = nullptr;

  // Sends the request up to `attempts` times; each waits up to `ms` for its reply, whose
  // data land in `data` (at most `replyCapacity` bytes). Input already waiting is
  // discarded before every send. Which packet is the request's reply:
  // - a field (command, argument) counts as echoed once replies have shown two different
  //   values of it, each in the reply to a request that carried that value and neither a
  //   repeat of a packet seen before in the job; a packet whose echoed field differs from
  //   the request's is then another request's reply, skipped;
  // - the job's first reply that carries data (the printer's identity) answers no
  //   request of another command: a packet equal to it is its copy, skipped;
  // - any other valid packet is the reply (a printer whose replies tell nothing apart
  //   is served as one that echoes nothing).
  // Returns the reply's data length, or -1: after every attempt failed, at once without
  // sending once StopFlag is set (Cancelled() then says so), or at once when the data do
  // not fit a packet (LineFailure() then says so).
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms);
  // Whether a request of this job was held back because a stop was asked for.
  bool Cancelled() const { return HeldBack; }
  // What went wrong under the last request besides missing replies: a send the line
  // refused (any attempt), the port lost, which ends the request's attempts at once, or
  // data too long to send. Kind None when only replies were missing, and after a request
  // was answered.
  const TLineFailure& LineFailure() const { return Failure; }
  // Traces and sends one packet; false when the line did not take it (traced as
  // "Write failed: ..."): the attempt has failed.
  bool SendPacket(const uint8_t* bytes, int length);
  // Waits up to `ms` for one reply that `match` accepts (the transport's Receive).
  int ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms, const TReplyMatch& match = {},
                   TReplySeen* seen = nullptr);
  // Drops waiting input on the transport in use; traced when there was any.
  void DiscardWaitingInput();
  // Forgets what was learnt about the printer's replies and any request held back; at the
  // start of every job.
  void ForgetReplyShapes();

 private:
  // Values a field must have shown, each in its own request's reply, to count as echoed.
  static constexpr size_t kValuesThatProveAnEcho = 2;

  TReplyMatch MatchFor(uint16_t command, uint32_t argument) const;
  // Takes what one wait saw into what the job knows of the printer's replies.
  void Learn(uint16_t command, uint32_t argument, const TReplySeen& seen, bool accepted);

  TTransport* Transport;
  TTraceLog& Trace;
  bool HeldBack = false;
  TLineFailure Failure;
  // Records the port as lost when the transport says it is; true then.
  bool NotePortLost();
  // Values of each field that replies have shown for requests carrying them.
  std::set<uint16_t> ShownCommands;
  std::set<uint32_t> ShownArguments;
  // Every packet taken or skipped in this job, header and data.
  std::set<std::vector<uint8_t>> SeenPackets;
  // The job's first reply that carries data, and the command it answered.
  std::vector<uint8_t> FirstDataReply;
  uint16_t FirstDataCommand = 0;
};

}  // namespace printset
