// Taking one reply in from a datagram line: datagrams are judged one by one until one
// answers the request, the time is up or the line fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/ReplyReceiver.h"
#include "link/TraceLog.h"

namespace printset {

// What the datagram receiver reads from: one datagram within a time limit.
class TDatagramSource {
 public:
  virtual ~TDatagramSource() = default;
  // Waits up to `ms` for one datagram; its full length (only `capacity` bytes stored), or
  // -1 when none came in time or the line failed (LastError() then says why).
  virtual int Receive(uint8_t* buffer, size_t capacity, uint32_t ms) = 0;
  // Why the last Receive failed; empty when nothing failed.
  virtual const std::string& LastError() const = 0;
};

// Waits up to `ms` for the datagram that `match` takes as the reply, skipping (and
// tracing) those that answer another request. A datagram that is no reply or too long
// fails the wait, and so does a failed line (traced as "TCP/IP: " and the reason).
// Returns the reply's data length (copied to `data`, at most `capacity` bytes) or -1.
int ReceiveDatagramReply(TDatagramSource& source, uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace,
                         const TReplyMatch& match, TReplySeen* seen);

}  // namespace printset
