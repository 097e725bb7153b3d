#include "link/PacketLink.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "link/PacketCodec.h"
#include "link/ReplyReceiver.h"
#include "link/TraceFormat.h"

namespace printset {

int TPacketLink::Transact(uint16_t command, uint32_t argument, uint8_t* data, int replyCapacity,
                          int count, int attempts, uint32_t ms) {
  if (count < 0 || count > kMaxRequestData)
    throw std::length_error("request data of " + std::to_string(count) + " bytes does not fit a packet");
  const std::vector<uint8_t> request = BuildRequest(command, argument, data, static_cast<size_t>(count));
  for (int attempt = 0; attempt < attempts; ++attempt) {
    SendPacket(request.data(), static_cast<int>(request.size()));
    const int result = ReceiveReply(data, replyCapacity, ms);
    if (result >= 0) return result;
  }
  ResultCode = kResultNoReply;
  return -1;
}

void TPacketLink::SendPacket(const uint8_t* bytes, int length) {
  if (Trace.TraceEnabled) {
    Trace.TraceLine("Send " + std::to_string(length) + " bytes" + TraceTimestampNow());
    if (length > kHeaderSize) {
      Trace.TraceHexDump(bytes, kHeaderSize);
      Trace.TraceHexDump(bytes + kHeaderSize, static_cast<size_t>(length - kHeaderSize));
    } else {
      Trace.TraceHexDump(bytes, static_cast<size_t>(length));
    }
  }
  if (NetworkMode == 1) {
    if (!UdpClient) throw std::logic_error("network transport selected without a UDP endpoint");
    UdpClient->Send(bytes, static_cast<size_t>(length));
  } else {
    // A failed write is not examined here: it shows up as a missing reply.
    SerialPort.Write(bytes, length);
  }
}

int TPacketLink::ReceiveReply(uint8_t* data, int replyCapacity, uint32_t ms) {
  if (NetworkMode == 1) {
    if (!UdpClient) throw std::logic_error("network transport selected without a UDP endpoint");
    uint8_t datagram[kReceiveBufferSize];
    int length = UdpClient->Receive(datagram, sizeof datagram, ms);
    if (length > kReceiveBufferSize) {
      // Longer than the receive buffer: trace what was kept and refuse it.
      TraceReceived(Trace, datagram, kReceiveBufferSize, 0);
      return -1;
    }
    return AcceptReplyDatagram(datagram, length, data, replyCapacity, Trace);
  }
  return ReceiveSerialReply(SerialPort, data, replyCapacity, ms, Trace);
}

}  // namespace printset
