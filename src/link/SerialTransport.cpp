#include "link/SerialTransport.h"

#include "link/TraceFormat.h"

namespace printset {

bool TSerialTransport::Open(TTraceLog&, std::string& error) {
  Port.Close();
  if (Port.Open(Name, Rate)) return true;
  error = Port.LastError();
  return false;
}

bool TSerialTransport::Send(const uint8_t* bytes, int length, std::string& error) {
  if (Port.Write(bytes, length)) return true;
  Port.DiscardOutput();
  error = Port.LastError();
  return false;
}

int TSerialTransport::Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
                              TReplySeen* seen) {
  return ReceiveSerialReply(Port, data, capacity, ms, trace, match, seen);
}

void TSerialTransport::Close(TTraceLog& trace) {
  Port.Close();
  trace.TraceLine("CLOSE " + TraceTimestampNow());
}

}  // namespace printset
