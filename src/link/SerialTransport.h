// Packets over the serial port: the reply receiver hunts for them in the byte stream.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "link/Transport.h"
#include "link/UniUart.h"

namespace printset {

class TSerialTransport : public TTransport {
 public:
  // The port `name` (after `portMap`), opened at `rate`; the transport owns the port.
  TSerialTransport(std::string name, int32_t rate, TPortMap portMap = {})
      : Owned(std::make_unique<TMyUart>(std::move(portMap))), Port(*Owned), Name(std::move(name)), Rate(rate) {}
  // Over a port its caller opened and keeps (which outlives the transport): for tools and
  // tests that drive the port themselves as well.
  explicit TSerialTransport(TMyUart& port) : Port(port), Rate(0) {}
  bool Open(TTraceLog& trace, std::string& error) override;
  // Writes the packet within the port's write deadline; on failure drops what the line
  // did not take, so that it cannot trickle into the next request.
  bool Send(const uint8_t* bytes, int length, std::string& error) override;
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override;
  int DiscardInput() override { return Port.DiscardInput(); }
  int32_t BaudRate() const override { return Port.BaudRate(); }
  bool SetBaudRate(int32_t rate) override { return Port.SetBaudRate(rate); }
  std::string LostReason() const override { return Port.LostReason(); }
  void ReleaseExclusiveUse() override { Port.ReleaseExclusiveUse(); }
  void Close(TTraceLog& trace) override;

 private:
  const std::unique_ptr<TMyUart> Owned;
  TMyUart& Port;
  const std::string Name;
  const int32_t Rate;
};

}  // namespace printset
