// Packets over the serial port: the reply receiver hunts for them in the byte stream.
#pragma once

#include "link/Transport.h"
#include "link/UniUart.h"

namespace printset {

class TSerialTransport : public TTransport {
 public:
  explicit TSerialTransport(TMyUart& port) : Port(port) {}
  // Writes the packet within the port's write deadline; on failure drops what the line
  // did not take, so that it cannot trickle into the next request.
  bool Send(const uint8_t* bytes, int length, std::string& error) override;
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override;
  int DiscardInput() override { return Port.DiscardInput(); }
  bool CarriesBaudRate() const override { return true; }
  void Close(TTraceLog& trace) override;

 private:
  TMyUart& Port;
};

}  // namespace printset
