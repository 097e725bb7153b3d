// Request/reply exchange with the printer over a transport (the serial port or UDP),
// which the link session chooses when the link opens; nothing here asks which it is.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <stdexcept>

#include "link/ReplyReceiver.h"
#include "link/TraceLog.h"
#include "link/Transport.h"

namespace printset {

// ResultCode value written when a request gets no valid reply.
constexpr uint8_t kResultNoReply = 3;

class TPacketLink {
 public:
  // Requests go over `transport` until another is given; each must outlive its use.
  TPacketLink(TTransport& transport, TTraceLog& trace, uint8_t& resultCode)
      : Transport(&transport), Trace(trace), ResultCode(resultCode) {}
  void UseTransport(TTransport& transport) { Transport = &transport; }
  // When set and true, no further request is sent: Transact returns -1 at once and
  // Cancelled() tells why.
  const std::atomic<bool>* StopFlag = nullptr;

  // Sends the request up to `attempts` times; each waits up to `ms` for a valid reply,
  // whose data lands in `data` (at most `replyCapacity` bytes). Input already waiting is
  // discarded before every send. Which reply belongs to this request:
  // - once a command's first reply has echoed the request's command and argument, later
  //   replies to that command must echo them too; others are skipped;
  // - once the printer has echoed any request of the job, a packet naming an earlier
  //   request of the job is that request's late reply and is skipped, unless the printer
  //   proved it answers with that header whatever is asked: the same header skipped in an
  //   attempt came again after the request was sent anew. A last attempt that skipped
  //   such packets and took no reply earns one attempt more, once, so that the proof is
  //   possible even for a request sent only once.
  // Returns the reply's data length, or -1 after every attempt failed (ResultCode is then
  // 3), or at once without sending once StopFlag is set (ResultCode untouched).
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms);
  // Whether a request of this job was held back because a stop was asked for.
  bool Cancelled() const { return HeldBack; }
  // What the line did wrong under the last request: a send it refused (any attempt), or
  // the port lost, which ends the request's attempts at once. Kind None when the line
  // took every attempt and only replies were missing, and after a request was answered.
  const TLineFailure& LineFailure() const { return Failure; }
  // Traces and sends one packet; false when the line did not take it (traced as
  // "Write failed: ..."): the attempt has failed.
  bool SendPacket(const uint8_t* bytes, int length);
  // Waits up to `ms` for one reply that `match` accepts (the transport's Receive).
  int ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms, const TReplyMatch& match = {},
                   TReplySeen* seen = nullptr);
  // Drops waiting input on the transport in use; traced when there was any.
  void DiscardWaitingInput();
  // Forgets the requests sent, what was learnt about the printer's replies and any request
  // held back; at the start of every job.
  void ForgetReplyShapes();

 private:
  // Whether the printer's replies to a command carry the request's command and argument.
  enum class TReplyShape { Unknown, Echoed, Own };
  TReplyMatch MatchFor(uint16_t command, uint32_t argument, const std::set<uint64_t>& confirmed) const;

  TTransport* Transport;
  TTraceLog& Trace;
  uint8_t& ResultCode;
  std::map<uint16_t, TReplyShape> Shapes;
  bool HeldBack = false;
  TLineFailure Failure;
  // Records the port as lost when the transport says it is; true then.
  bool NotePortLost();
  // Whether any reply of this job echoed its request's command and argument.
  bool PrinterEchoes = false;
  // Headers of the requests sent in this job, as HeaderKey values.
  std::set<uint64_t> SentHeaders;
  // Headers the printer gave to requests other than the one they name.
  std::set<uint64_t> FixedHeaders;
};

}  // namespace printset
