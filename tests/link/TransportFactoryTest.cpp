// Which line a port name means, as the one factory decides it for every job.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/TransportFactory.h"
#include "support/PtyPair.h"

namespace printset {
namespace {

TEST(TransportFactory, ThePortNameChoosesTheLineAndOpeningSaysWhyNot) {
  TPtyPair pty;
  const TPortMap ports{{"COM7", pty.SlavePath()}};
  const TUdpAddress configured{"127.0.0.1", 9100};
  const TUdpAddress unconfigured;
  struct TRow {
    std::string Name;
    const TUdpAddress* Configured;
    bool Opens;
    int32_t Rate;       // after opening: the line's own rate, 0 for UDP
    std::string Error;  // a piece of the reason when it does not open
  };
  const TRow rows[] = {
      {pty.SlavePath(), &configured, true, 19200, ""},
      {pty.SlavePath() + "-gone", &configured, false, 0, "No such file or directory"},
      {"com7", &configured, true, 19200, ""},  // the port map's device
      {"TCP/IP", &configured, true, 0, ""},
      {"TCP/IP", &unconfigured, false, 0, "no printer address configured"},
      {"TCP/IP:127.0.0.1:9100", &unconfigured, true, 0, ""},
      {"TCP/IP:127.0.0.1:0", &configured, false, 0, "a port from 1 to 65535"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::unique_ptr<TTransport> line = MakeTransport(row.Name, 19200, ports, *row.Configured);
    TTraceLog trace;
    std::string error;
    EXPECT_EQ(line->Open(trace, error), row.Opens) << error;
    if (row.Opens) {
      EXPECT_EQ(line->BaudRate(), row.Rate);
    } else {
      EXPECT_NE(error.find(row.Error), std::string::npos) << error;
    }
    line->Close(trace);
  }
}

}  // namespace
}  // namespace printset
