// Ctrl-C (or a hang-up) during "program", on one printer and on a rack of two: the first
// stops the job between two requests, the second quits at once; either way every port can
// be opened again straight away.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <memory>
#include <string>
#include <vector>

#include "link/UniUart.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

struct TInterruptRow {
  size_t Printers;
  int Signal;   // SIGINT (Ctrl-C); SIGHUP, a terminal that went away, must do the same
  int Signals;
  int HoldMs;              // how long the printer sits on the block the signal arrives during
  const char* Said;        // on stderr
  bool TraceEndsCancelled; // every trace written with the cancellation as its last line
};

// The trace file of printer `i`: debug.log alone, else one named after the port.
std::string TracePath(const TTempDir& dir, const std::vector<std::unique_ptr<TSimPrinter>>& sims, size_t i) {
  if (sims.size() == 1) return dir.File("debug.log");
  const std::string& port = sims[i]->DevicePath();
  return dir.File("debug-dev-pts-" + port.substr(port.rfind('/') + 1) + ".log");
}

TEST(CliInterrupt, ProgramStopsCleanlyAndLetsGoOfThePort) {
  const TInterruptRow rows[] = {
      {1, SIGINT, 1, 300, "program the image again", true},
      {1, SIGINT, 2, 20000, "quit at once", false},
      {2, SIGINT, 1, 300, "program the image again", true},
      {2, SIGINT, 2, 20000, "quit at once", false},
      {1, SIGHUP, 1, 300, "program the image again", true},
  };
  for (const TInterruptRow& row : rows) {
    SCOPED_TRACE(std::to_string(row.Printers) + " printers, " + std::to_string(row.Signals) + " times signal " +
                 std::to_string(row.Signal));
    TTempDir dir;
    std::vector<std::unique_ptr<TSimPrinter>> sims;
    std::vector<std::string> arguments = {PRINTSET_CLI, "--folder", dir.Path()};
    for (size_t i = 0; i < row.Printers; ++i) {
      sims.push_back(std::make_unique<TSimPrinter>());
      ASSERT_TRUE(sims.back()->StartPty()) << sims.back()->LastError();
      TSimFaults faults;
      faults.Script[5].DelayMs = row.HoldMs;  // the third firmware block
      sims.back()->SetFaults(faults);
      arguments.insert(arguments.end(), {"--port", sims.back()->DevicePath()});
    }
    // A rack stopped by the first signal still ends its --json with the summary.
    const bool json = row.Printers > 1 && row.Signals == 1;
    if (json) arguments.push_back("--json");
    arguments.insert(arguments.end(), {"program", dir.File("image.bin")});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    WriteBytesFile(dir.File("image.bin"), ValidFirmwareImage(16 * 256));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const int out = ::open(dir.File("out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
      ::execv(PRINTSET_CLI, argv.data());
      ::_exit(127);
    }
    for (const auto& sim : sims)
      ASSERT_TRUE(sim->WaitForRequests(6, 20000)) << "the transfer did not reach the third block";
    for (int i = 0; i < row.Signals; ++i) {
      ::kill(child, row.Signal);
      ::usleep(100000);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10);
    const std::string said = ReadTextFile(dir.File("out.txt"));
    EXPECT_NE(said.find(row.Said), std::string::npos) << said;
    if (json) {
      const size_t last = said.rfind('\n', said.size() - 2);
      const nlohmann::json summary = nlohmann::json::parse(said.substr(last + 1));
      EXPECT_EQ(summary["operation"], "summary") << said;
      EXPECT_EQ(summary["cancelled"], true);
      EXPECT_EQ(summary["failed"], row.Printers);
      std::vector<std::string> ports;
      for (const auto& sim : sims) ports.push_back(sim->DevicePath());
      EXPECT_EQ(summary["firmware_incomplete"], nlohmann::json(ports));
      EXPECT_EQ(summary["failed_ports"][0]["result"], 10);
    }

    for (size_t i = 0; i < sims.size(); ++i) {
      TSimPrinter& sim = *sims[i];
      SCOPED_TRACE(sim.DevicePath());
      if (row.TraceEndsCancelled) {
        const std::string trace = ReadTextFile(TracePath(dir, sims, i));
        ASSERT_GT(trace.size(), 3u);
        const size_t last = trace.rfind("\r\n", trace.size() - 3);
        EXPECT_EQ(trace.compare(last + 2, 9, "CANCELLED"), 0) << trace.substr(last);
        EXPECT_NE(trace.find("CLOSE "), std::string::npos);
        EXPECT_EQ(sim.RequestCount(), 6u) << "a request went out after the stop";
      }
      EXPECT_FALSE(sim.LineExclusive()) << "the port's exclusive-use flag outlived the program";
      TMyUart port;
      EXPECT_TRUE(port.Open(sim.DevicePath(), 9600)) << port.LastError();
    }
  }
}

}  // namespace
}  // namespace printset
