// Ctrl-C during "program": the first stops the job between two requests, the second
// quits at once; either way the port can be opened again straight away.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <string>

#include "link/UniUart.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

struct TInterruptRow {
  int Signals;
  int HoldMs;              // how long the printer sits on the block the signal arrives during
  const char* Said;        // on stderr
  bool TraceEndsCancelled; // debug.log written with the cancellation as its last line
};

TEST(CliInterrupt, ProgramStopsCleanlyAndLetsGoOfThePort) {
  const TInterruptRow rows[] = {
      {1, 300, "program the image again", true},
      {2, 20000, "quit at once", false},
  };
  for (const TInterruptRow& row : rows) {
    SCOPED_TRACE(row.Signals);
    TTempDir dir;
    TSimPrinter sim;
    ASSERT_TRUE(sim.StartPty()) << sim.LastError();
    TSimFaults faults;
    faults.Script[5].DelayMs = row.HoldMs;  // the third firmware block
    sim.SetFaults(faults);
    WriteBytesFile(dir.File("image.bin"), ValidFirmwareImage(16 * 256));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const int out = ::open(dir.File("out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
      ::execl(PRINTSET_CLI, PRINTSET_CLI, "--folder", dir.Path().c_str(), "--port", sim.DevicePath().c_str(),
              "program", dir.File("image.bin").c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ASSERT_TRUE(sim.WaitForRequests(6, 20000)) << "the transfer did not reach the third block";
    for (int i = 0; i < row.Signals; ++i) {
      ::kill(child, SIGINT);
      ::usleep(100000);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10);
    const std::string said = ReadTextFile(dir.File("out.txt"));
    EXPECT_NE(said.find(row.Said), std::string::npos) << said;

    if (row.TraceEndsCancelled) {
      const std::string trace = ReadTextFile(dir.File("debug.log"));
      const size_t last = trace.rfind("\r\n", trace.size() - 3);
      EXPECT_EQ(trace.compare(last + 2, 9, "CANCELLED"), 0) << trace.substr(last);
      EXPECT_NE(trace.find("CLOSE "), std::string::npos);
      EXPECT_EQ(sim.RequestCount(), 6u) << "a request went out after the stop";
    }
    EXPECT_FALSE(sim.LineExclusive()) << "the port's exclusive-use flag outlived the program";
    TMyUart port;
    EXPECT_TRUE(port.Open(sim.DevicePath(), 9600)) << port.LastError;
  }
}

}  // namespace
}  // namespace printset
