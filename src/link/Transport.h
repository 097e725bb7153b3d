// The line a packet travels on: the serial port or UDP. The link session chooses one when
// the link opens; the sender and the receiver use it and ask nothing else about it.
#pragma once

#include <cstdint>
#include <string>

#include "link/ReplyReceiver.h"
#include "link/TraceLog.h"

namespace printset {

class TTransport {
 public:
  virtual ~TTransport() = default;
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
  // Whether the line has a baud rate of its own that the printer and the port must agree on.
  virtual bool CarriesBaudRate() const = 0;
  // Lets go of the line at the end of a job; the serial line traces its "CLOSE" line.
  virtual void Close(TTraceLog& trace) = 0;
};

}  // namespace printset
