// Request/reply exchange over the serial port or UDP. The transport is chosen here and
// nowhere else: SendPacket and ReceiveReply ask NetworkMode.
#pragma once

#include <cstdint>

#include "link/TraceLog.h"
#include "link/UdpEndpoint.h"
#include "link/UniUart.h"

namespace printset {

// ResultCode value written when a request gets no valid reply.
constexpr uint8_t kResultNoReply = 3;

class TPacketLink {
 public:
  TPacketLink(TMyUart& serialPort, TTraceLog& trace, uint8_t& resultCode)
      : SerialPort(serialPort), Trace(trace), ResultCode(resultCode) {}

  // Set by the link session: 1 while the link runs over UDP.
  uint8_t NetworkMode = 0;
  // The UDP endpoint, provided by the owner; required while NetworkMode is 1.
  TUdpEndpoint* UdpClient = nullptr;

  // Sends the request up to `attempts` times; each waits up to `ms` for a valid reply,
  // whose data lands in `data` (at most `replyCapacity` bytes). Returns the reply's data
  // length, or -1 after every attempt failed (ResultCode is then 3).
  int Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity, int count,
               int attempts, uint32_t ms);
  void SendPacket(const uint8_t* bytes, int length);
  int ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms);

 private:
  TMyUart& SerialPort;
  TTraceLog& Trace;
  uint8_t& ResultCode;
};

}  // namespace printset
