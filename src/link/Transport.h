// The line a packet travels on: the serial port or UDP, made by MakeTransport for a port
// name. The sender and the receiver use it and ask nothing else about it.
//
// Failure convention of the link (everything in src/link): an operation reports by its
// return value, a count or -1, true or false, with the reason in the system's words
// where one can be asked for (an `error` argument, LastError(), LostReason(), the packet
// link's TLineFailure). Nothing is thrown for what the line or the printer does, and no
// result code is written here: the engine maps these statuses to its result codes.
#pragma once

#include <cstdint>
#include <string>

#include "link/LineFailure.h"
#include "link/ReplyReceiver.h"
#include "link/TraceLog.h"

namespace printset {

class TTransport {
 public:
  virtual ~TTransport() = default;
  // Opens the line for a job; false with `error` (the system's words) when it cannot,
  // traced where the line has a trace line of its own for it.
  virtual bool Open(TTraceLog& trace, std::string& error) = 0;
  // Hands one whole packet to the line within a bounded time; false, with `error` set,
  // when the line did not take it (the attempt has then failed).
  virtual bool Send(const uint8_t* bytes, int length, std::string& error) = 0;
  // Waits up to `ms` for one reply that `match` accepts and traces what was taken in.
  // Returns the reply's data length (copied to `data`, at most `capacity` bytes) or -1;
  // `seen`, when given, receives the headers of what was accepted and skipped.
  virtual int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
                      TReplySeen* seen) = 0;
  // Drops input already waiting; returns how many bytes it held.
  virtual int DiscardInput() = 0;
  // The line's baud rate, which the printer and the port must agree on; 0 for a line
  // without one (UDP).
  virtual int32_t BaudRate() const = 0;
  // Moves the line to `rate`; false when the port refused it. A line without a rate
  // takes any.
  virtual bool SetBaudRate(int32_t rate) = 0;
  // Why the line is gone (a port lost since it opened), in the system's words; empty
  // while it works, and for a line that cannot be lost.
  virtual std::string LostReason() const { return {}; }
  // Lets other programs open the line while this one still holds it (a process about to
  // quit); nothing for a line that no one else could open. Safe from any thread, also
  // while Open or Close runs on another. Never fails.
  virtual void ReleaseExclusiveUse() {}
  // Lets go of the line at the end of a job; the serial line traces its "CLOSE" line.
  virtual void Close(TTraceLog& trace) = 0;
};

}  // namespace printset
