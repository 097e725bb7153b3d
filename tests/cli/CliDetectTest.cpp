// Finding printers that listen at other rates: detect, and --baud auto before a job.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

constexpr uint16_t kIdentify = 0x20;

size_t Count(const std::string& text, const std::string& piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(CliDetect, EachPortTellsItsRateAndIdentityAndNothingButIdentifyIsSent) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  struct TRow {
    int32_t Listens;  // the printer's rate; kSimDeaf: nothing answers
    std::string Identity;
    nlohmann::json Baud;
    nlohmann::json IdentitySeen;
    bool Accepted;
    int ReplyDelayMs = 0;
  };
  // The last printer listens at 9600 but answers only after the attempts there have
  // ended: its replies must not count at the rates tried after.
  const TRow rows[] = {
      {115200, kSimDefaultIdentity, 115200, kSimDefaultIdentity, true},
      {4800, "PRN 74XX", 4800, "PRN 74XX", true},
      {kSimDeaf, kSimDefaultIdentity, nullptr, nullptr, false},
      {57600, "XYZ 1234", 57600, "XYZ 1234", false},
      {9600, kSimDefaultIdentity, nullptr, nullptr, false, 650},
  };
  TSimPrinter sims[std::size(rows)];
  std::string ports;
  for (size_t i = 0; i < std::size(rows); ++i) {
    ASSERT_TRUE(sims[i].StartPty()) << sims[i].LastError();
    sims[i].SetListeningRate(rows[i].Listens);
    sims[i].SetIdentity(rows[i].Identity);
    sims[i].SetReplyDelay(rows[i].ReplyDelayMs);
    ports += "--port " + sims[i].DevicePath() + " ";
  }
  const TRun run = RunCli("--folder " + folder + " " + ports + "--json detect", false);
  EXPECT_EQ(run.Status, 11) << run.Output;
  std::istringstream lines(run.Output);
  std::string silentTrace;
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(i);
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << run.Output;
    const nlohmann::json found = nlohmann::json::parse(line);
    EXPECT_EQ(found["port"], sims[i].DevicePath());
    EXPECT_EQ(found["baud"], rows[i].Baud);
    EXPECT_EQ(found["identity"], rows[i].IdentitySeen);
    EXPECT_EQ(found["accepted"], rows[i].Accepted);
    for (const TSimRequest& request : sims[i].Requests()) EXPECT_EQ(request.Command, kIdentify);
    if (rows[i].Listens == kSimDeaf) silentTrace = ReadTextFile(found["trace"].get<std::string>());
    if (rows[i].ReplyDelayMs > 0) {
      const std::string trace = ReadTextFile(found["trace"].get<std::string>());
      EXPECT_NE(trace.find("bytes that came at 9600 baud after its attempts"), std::string::npos) << trace;
    }
  }
  // The silent port was asked at every rate: five more after the first.
  EXPECT_EQ(Count(silentTrace, "SEARCH "), 5u) << silentTrace;

  // Alone, the silent port is "no printer" and exit 3.
  const TRun alone = RunCli("--folder " + folder + " --port " + sims[2].DevicePath() + " detect", false);
  EXPECT_EQ(alone.Status, 3) << alone.Output;
  EXPECT_NE(alone.Output.find("no answer at any rate"), std::string::npos) << alone.Output;

  // A printer on UDP has no rate: identify is asked with its attempts, and nothing more.
  TSimPrinter network;
  ASSERT_TRUE(network.StartUdp(0)) << network.LastError();
  network.SetNoReply(kSimCommandIdentify);
  const std::string udpPort = "TCP/IP:127.0.0.1:" + std::to_string(network.UdpPort());
  const TRun udp = RunCli("--folder " + folder + " --port " + udpPort + " detect", false);
  EXPECT_EQ(udp.Status, 3) << udp.Output;
  EXPECT_NE(udp.Output.find(udpPort + "  no printer: no answer\n"), std::string::npos) << udp.Output;
  EXPECT_EQ(network.RequestCount(), 3u);
  EXPECT_EQ(Count(ReadTextFile(folder + "debug.log"), "SEARCH "), 0u);
}

TEST(CliDetect, OnePortAloneExitsWithItsResultCodeAsItsHelpSays) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  TSimPrinter sim;
  ASSERT_TRUE(sim.StartPty()) << sim.LastError();
  // An identity not accepted, with bytes above 0x7F: the text escapes them, the hex
  // carries them as sent.
  sim.SetIdentity(std::string("PRN \xE9\xFF" "01", 8));
  const std::string common = "--folder " + folder + " --port ";
  const TRun stranger = RunCli(common + sim.DevicePath() + " detect", false);
  EXPECT_EQ(stranger.Status, 5) << stranger.Output;
  EXPECT_NE(stranger.Output.find("\"PRN \\xE9\\xFF01\"  not accepted"), std::string::npos) << stranger.Output;
  const TRun json = RunCli(common + sim.DevicePath() + " detect --json", false);
  EXPECT_EQ(json.Status, 5) << json.Output;
  const nlohmann::json found = nlohmann::json::parse(json.Output);
  EXPECT_EQ(found["identity"], "PRN \\xE9\\xFF01");
  EXPECT_EQ(found["identity_hex"], "50524E20E9FF3031");

  // A port that does not open: its reason's lines joined by "; ", on the port's one line.
  const TRun missing = RunCli(common + folder + "ttyNone detect", false);
  EXPECT_EQ(missing.Status, 1) << missing.Output;
  EXPECT_NE(missing.Output.find("no printer: the port could not be opened (result code 1); " + folder +
                                "ttyNone: No such file or directory\n"),
            std::string::npos)
      << missing.Output;

  const TRun help = RunCli("detect --help", false);
  EXPECT_NE(help.Output.find("one port named alone exits with\nits result code"), std::string::npos) << help.Output;
}

TEST(CliDetect, BaudAutoRunsTheJobAtTheRateThePrinterAnswersAt) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  const std::vector<uint8_t> image = ValidFirmwareImage(8 * 256);
  const std::vector<uint8_t> data = PatternBytes(700);
  WriteBytesFile(folder + "image.bin", image);
  WriteBytesFile(folder + "data.bin", data);
  struct TRow {
    int32_t Listens;
    std::string Verb;
    int32_t ListensAfter;  // programming leaves it at the transfer rate, a download switches back
    size_t Searched;       // rates tried after 9600, the rate --baud leaves the line at
  };
  const TRow rows[] = {
      {57600, "program " + folder + "image.bin", 115200, 4},
      {19200, "download " + folder + "data.bin:48:4096", 19200, 2},
      {9600, "download " + folder + "data.bin:48:4096", 9600, 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Verb);
    TSimPrinter sim;
    ASSERT_TRUE(sim.StartPty()) << sim.LastError();
    sim.SetListeningRate(row.Listens);
    const TRun run = RunCli("--folder " + folder + " --port " + sim.DevicePath() + " --baud auto " + row.Verb);
    EXPECT_EQ(run.Status, 0) << run.Output;
    // What was sent reached it, so it went at the rates the job switched it to.
    if (row.Listens == 57600) {
      EXPECT_EQ(sim.FirmwareImage(), image);
    } else {
      EXPECT_EQ(sim.DownloadRange(4096, data.size()), data);
    }
    EXPECT_EQ(sim.ListeningRate(), row.ListensAfter);
    const std::string trace = ReadTextFile(folder + "debug.log");
    EXPECT_EQ(Count(trace, "SEARCH "), row.Searched) << trace;
    if (row.Searched > 0) {
      EXPECT_NE(trace.find("SEARCH " + std::to_string(row.Listens) + " baud"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace printset
