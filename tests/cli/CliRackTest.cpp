// A rack of four printers programmed at once, two of which fail in different ways.
#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

constexpr size_t kPrinters = 4;
constexpr size_t kRefuses = 1;   // refuses programming mode
constexpr size_t kVanishes = 2;  // gone after the third firmware block
// 19 replies of the 16-block image take at least 2.8 s, well beyond the 1.8 s of the
// three unanswered attempts that end a failing printer.
constexpr int kSlowReplyMs = 150;
// Requests: identify, baud rate, programming mode, then the blocks.
constexpr size_t kFourthBlockRequest = 6;

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

TEST(CliRack, FailingPrintersNeverStopTheOthersAndAreNamed) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  const std::vector<uint8_t> image = ValidFirmwareImage(16 * 256);
  WriteBytesFile(folder + "image.bin", image);
  TSimPrinter sims[kPrinters];
  std::string ports;
  for (TSimPrinter& sim : sims) {
    ASSERT_TRUE(sim.StartPty()) << sim.LastError();
    ports += "--port " + sim.DevicePath() + " ";
  }
  // The two that succeed take longer than the two that fail need to fail (three waits
  // for a reply), so a failure that stopped the rack would show. Should a loaded machine
  // turn the order round, the test only loses that power; it never fails for it.
  for (size_t i : {size_t{0}, size_t{3}}) sims[i].SetReplyDelay(kSlowReplyMs);
  sims[kRefuses].SetNoReply(kSimCommandMode);
  TSimFaults vanish;
  vanish.Script[kFourthBlockRequest].Vanish = true;
  sims[kVanishes].SetFaults(vanish);

  const TRun run = RunCli("--folder " + folder + " " + ports + "program " + folder + "image.bin");
  EXPECT_EQ(run.Status, 11) << run.Output;

  // A line per printer as it ends, in whatever order they end.
  const std::string expectedEnds[kPrinters] = {": OK (", ": ERROR (", ": ERROR (", ": OK ("};
  const std::string expectedReasons[kPrinters] = {
      "", "the printer did not enter programming mode (result code 8)",
      "no valid reply from the printer (result code 3)", ""};
  const std::string said = "\n" + run.Output;
  for (size_t i = 0; i < kPrinters; ++i) {
    const std::string& port = sims[i].DevicePath();
    const size_t line = said.find("\n" + port + expectedEnds[i]);
    ASSERT_NE(line, std::string::npos) << port << "\n" << run.Output;
    const std::string text = said.substr(line + 1, said.find('\n', line + 1) - line - 1);
    EXPECT_NE(text.find(expectedReasons[i]), std::string::npos) << text;
  }
  // The summary: every printer in the order given, with its outcome and its trace.
  const size_t summary = run.Output.find("Summary: 2 of 4 printers OK, 2 failed\n");
  ASSERT_NE(summary, std::string::npos) << run.Output;
  std::istringstream rows(run.Output.substr(summary));
  std::string row;
  std::getline(rows, row);
  const std::vector<std::string> outcomes[kPrinters] = {{"OK"}, {"ERROR", "8"}, {"ERROR", "3"}, {"OK"}};
  for (size_t i = 0; i < kPrinters; ++i) {
    ASSERT_TRUE(std::getline(rows, row)) << run.Output;
    const std::string& port = sims[i].DevicePath();
    std::vector<std::string> expected = outcomes[i];
    const std::string trace = folder + "debug-dev-pts-" + port.substr(port.rfind('/') + 1) + ".log";
    expected.push_back(port);
    expected.push_back(trace);
    EXPECT_EQ(Words(row), expected) << row;
    // Each trace is its own printer's.
    EXPECT_EQ(ReadTextFile(trace).rfind("OPEN " + port, 0), 0u) << trace;
  }
  EXPECT_FALSE(std::filesystem::exists(folder + "debug.log")) << "a rack writes no shared trace";

  for (size_t i : {size_t{0}, size_t{3}}) EXPECT_EQ(sims[i].FirmwareImage(), image) << i;
  EXPECT_TRUE(sims[kRefuses].FirmwareImage().empty());
  EXPECT_EQ(sims[kVanishes].FirmwareImage().size(), 3u * 256) << "the blocks before it vanished";
}

// Port names that differ only where the trace file name has '-' (x-y, x:y) share a
// readable name; the numbers that tell them apart must not take the name of a third port
// (x-y-2), or two printers would write one trace.
TEST(CliRack, PortsWhoseTraceNamesWouldCollideGetFilesOfTheirOwn) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  const std::string links[] = {"x-y", "x:y", "x-y-2"};
  TSimPrinter sims[3];
  std::string ports;
  for (size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(sims[i].StartPty()) << sims[i].LastError();
    std::filesystem::create_symlink(sims[i].DevicePath(), folder + links[i]);
    ports += "--port " + folder + links[i] + " ";
  }
  const TRun run = RunCli("--folder " + folder + " --json " + ports + "set", false);
  EXPECT_EQ(run.Status, 0) << run.Output;
  std::set<std::string> traces;
  std::istringstream lines(run.Output);
  for (std::string line; std::getline(lines, line);) {
    const nlohmann::json outcome = nlohmann::json::parse(line);
    if (outcome["operation"] == "summary") continue;
    const std::string port = outcome["port"];
    const std::string trace = outcome["trace"];
    EXPECT_TRUE(traces.insert(trace).second) << trace << " is the trace of two printers";
    EXPECT_EQ(ReadTextFile(trace).rfind("OPEN " + port, 0), 0u) << trace << " is not the trace of " << port;
  }
  EXPECT_EQ(traces.size(), 3u) << run.Output;
}

#ifdef PRINTSET_SIM
// printer-sim's lines for printers on UDP are port names a --ports file takes as they stand.
TEST(CliRack, TheSimulatorsUdpLinesAreAPortList) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  // The shell's process id first: exec makes it the simulator's.
  std::FILE* sim = ::popen("echo $$; exec " PRINTSET_SIM " --udp 0 --count 2 --quiet", "r");
  ASSERT_NE(sim, nullptr);
  char line[256];
  std::vector<std::string> lines;
  while (lines.size() < 3 && std::fgets(line, sizeof line, sim) != nullptr) lines.emplace_back(line);
  ASSERT_EQ(lines.size(), 3u);
  const pid_t pid = static_cast<pid_t>(std::stol(lines[0]));
  WriteTextFile(folder + "udp.txt", lines[1] + lines[2]);
  const TRun run = RunCli("--folder " + folder + " --ports " + folder + "udp.txt --json set", false);
  EXPECT_EQ(::kill(pid, SIGTERM), 0);
  EXPECT_EQ(::pclose(sim), 0);
  EXPECT_EQ(run.Status, 0) << lines[1] << lines[2] << run.Output;
  EXPECT_EQ(lines[1].rfind("TCP/IP:127.0.0.1:", 0), 0u) << lines[1];
  const std::vector<std::string> said = [&run] {
    std::vector<std::string> result;
    std::istringstream in(run.Output);
    for (std::string text; std::getline(in, text);) result.push_back(text);
    return result;
  }();
  ASSERT_EQ(said.size(), 3u) << run.Output;
  const nlohmann::json summary = nlohmann::json::parse(said.back());
  EXPECT_EQ(summary["operation"], "summary");
  EXPECT_EQ(summary["ok"], 2) << run.Output;
}
#endif

}  // namespace
}  // namespace printset
