// What the link tells about the line itself when a request fails: a send the system
// refused, or a port that is gone, in the system's words; nothing once a request is
// answered.
#include <gtest/gtest.h>

#include <string>

#include "link/PacketLink.h"

namespace printset {
namespace {

// A line whose sends and receives behave as a row of the table says.
class TScriptedLine : public TTransport {
 public:
  std::string SendError;  // non-empty: every send is refused with it
  std::string LostAfterReceive;  // non-empty: the first receive finds the port gone
  bool Answers = false;   // a receive takes the request's own reply
  int Sends = 0;
  std::string Lost;

  bool Open(TTraceLog&, std::string&) override { return true; }
  bool Send(const uint8_t*, int, std::string& error) override {
    ++Sends;
    if (SendError.empty()) return true;
    error = SendError;
    if (!LostAfterReceive.empty()) Lost = LostAfterReceive;
    return false;
  }
  int Receive(uint8_t*, int, uint32_t, TTraceLog&, const TReplyMatch& match, TReplySeen* seen) override {
    if (!Answers) {
      Lost = LostAfterReceive;
      return -1;
    }
    if (seen) {
      seen->Accepted.Command = match.Command;
      seen->Accepted.Argument = match.Argument;
    }
    return 0;
  }
  int DiscardInput() override { return 0; }
  int32_t BaudRate() const override { return 0; }
  bool SetBaudRate(int32_t) override { return true; }
  std::string LostReason() const override { return Lost; }
  void Close(TTraceLog&) override {}
};

TEST(LineFailure, ARefusedSendOrALostPortIsToldInTheSystemsWords) {
  struct TRow {
    const char* Name;
    std::string SendError;
    std::string LostAfterReceive;
    bool Answers;
    int Result;
    TLineFailureKind Kind;
    std::string Text;
    int Sends;  // a lost port ends the attempts at once
    const char* TraceLine;
  };
  const TRow rows[] = {
      {"refused", "Network is unreachable", "", false, -1, TLineFailureKind::SendRefused, "Network is unreachable", 3,
       "Write failed: Network is unreachable"},
      {"lost while waiting", "", "Input/output error", false, -1, TLineFailureKind::PortLost, "Input/output error", 1,
       "Port lost: Input/output error"},
      {"lost while sending", "Input/output error", "Input/output error", false, -1, TLineFailureKind::PortLost,
       "Input/output error", 1, "Port lost: Input/output error"},
      {"only the reply missing", "", "", false, -1, TLineFailureKind::None, "", 3, ""},
      {"answered", "", "", true, 0, TLineFailureKind::None, "", 1, ""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TScriptedLine line;
    line.SendError = row.SendError;
    line.LostAfterReceive = row.LostAfterReceive;
    line.Answers = row.Answers;
    TTraceLog trace;
    TPacketLink link(line, trace);
    // What an earlier request left is not this request's failure.
    TScriptedLine refusing;
    refusing.SendError = "No route to host";
    link.UseTransport(refusing);
    uint8_t data[16] = {};
    EXPECT_EQ(link.Transact(0x20, 0, data, 15, 0, 1, 10), -1);
    link.UseTransport(line);
    EXPECT_EQ(link.Transact(0x60, 0, data, 15, 0, 3, 10), row.Result);
    EXPECT_EQ(link.LineFailure().Kind, row.Kind);
    EXPECT_EQ(link.LineFailure().Text, row.Text);
    EXPECT_EQ(line.Sends, row.Sends);
    if (*row.TraceLine) {
      bool traced = false;
      for (const std::string& text : trace.GetLines()) traced = traced || text.rfind(row.TraceLine, 0) == 0;
      EXPECT_TRUE(traced) << row.TraceLine;
    }
  }
}

}  // namespace
}  // namespace printset
