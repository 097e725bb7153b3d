// Packets over the serial port: the reply receiver hunts for them in the byte stream.
#pragma once

#include <string>
#include <utility>

#include "link/Transport.h"
#include "link/UniUart.h"

namespace printset {

class TSerialTransport : public TTransport {
 public:
  // Over `port` (which outlives the transport), opened as `name` at `rate`.
  TSerialTransport(TMyUart& port, std::string name = {}, int32_t rate = 0)
      : Port(port), Name(std::move(name)), Rate(rate) {}
  bool Open(TTraceLog& trace, std::string& error) override;
  // Writes the packet within the port's write deadline; on failure drops what the line
  // did not take, so that it cannot trickle into the next request.
  bool Send(const uint8_t* bytes, int length, std::string& error) override;
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override;
  int DiscardInput() override { return Port.DiscardInput(); }
  int32_t BaudRate() const override { return Port.BaudRate; }
  bool SetBaudRate(int32_t rate) override { return Port.SetBaudRate(rate); }
  std::string LostReason() const override { return Port.LostError; }
  void Close(TTraceLog& trace) override;

 private:
  TMyUart& Port;
  const std::string Name;
  const int32_t Rate;
};

}  // namespace printset
