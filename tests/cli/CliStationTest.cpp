// The station record and recipes: racks of simulated printers run a recipe, and every
// printer's run is a line of runs.jsonl with its inputs' digests and its kept trace.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliRun.h"
#include "base/FileIo.h"
#include "engine/ResultCodes.h"
#include "report/ResultText.h"
#include "sim/SimPrinter.h"
#include "support/BmpFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset::cli_station {
namespace {

constexpr uint32_t kLogoAddress = 0;  // PARA of [LOGO], by default

std::vector<nlohmann::json> JsonLines(const std::string& text) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
    EXPECT_FALSE(object.is_discarded()) << "not a whole JSON line: " << line;
    if (!object.is_discarded()) lines.push_back(object);
  }
  return lines;
}

// The digest as the system's own tool computes it.
std::string Sha256Sum(const std::string& path) {
  std::FILE* pipe = popen(("sha256sum '" + path + "'").c_str(), "r");
  if (pipe == nullptr) return "";
  char digest[65] = {};
  const size_t read = std::fread(digest, 1, 64, pipe);
  static_cast<void>(pclose(pipe));
  return std::string(digest, read);
}

std::string BlackBmp(int width, int height) {
  return EncodeBmp(TPicture{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), 0)}, {});
}

TEST(CliStation, RecipeOnARackOfMixedRatesIsRecordedPrinterByPrinter) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  // The recipe in a folder of its own, with its inputs named relative to it.
  std::filesystem::create_directory(folder + "line");
  const std::vector<uint8_t> image = ValidFirmwareImage(4 * 256);
  WriteBytesFile(folder + "line/image.bin", image);
  WriteTextFile(folder + "line/a.bmp", BlackBmp(16, 4));
  WriteTextFile(folder + "line/recipe.ini",
                "[SET]\nNEWBAUD=19200\nSTRING=123456\n[LOGO]\nPICTURES=a.bmp\n[PROGRAM]\nIMAGE=image.bin\n");
  const int32_t listens[] = {9600, 57600, kSimDeaf, 38400};
  constexpr size_t kSilent = 2;
  TSimPrinter sims[4];
  std::string ports;
  for (size_t i = 0; i < 4; ++i) {
    ASSERT_TRUE(sims[i].StartPty()) << sims[i].LastError();
    sims[i].SetListeningRate(listens[i]);
    ports += "--port " + sims[i].DevicePath() + " ";
  }
  const TRun run = RunCli("--folder " + folder + " --baud auto --json " + ports + "run " + folder + "line/recipe.ini",
                          false);
  EXPECT_EQ(run.Status, 11) << run.Output;

  // One outcome per printer: the silent one failed its first step, the others did all;
  // the summary last names it and its step.
  std::vector<nlohmann::json> outcomes = JsonLines(run.Output);
  ASSERT_EQ(outcomes.size(), 5u) << run.Output;
  const nlohmann::json summary = outcomes.back();
  outcomes.pop_back();
  EXPECT_EQ(summary["operation"], "summary");
  EXPECT_EQ(summary["failed_ports"],
            nlohmann::json::parse(R"([{"port":")" + sims[kSilent].DevicePath() + R"(","result":3,"meaning":")" +
                                  ResultCodeMeaning(kResultNoValidReply) + R"(","step":"set"}])"));
  for (const nlohmann::json& outcome : outcomes) {
    const bool silent = outcome["port"] == sims[kSilent].DevicePath();
    EXPECT_EQ(outcome["operation"], "run");
    EXPECT_EQ(outcome["result"], silent ? 3 : 0) << outcome;
    EXPECT_EQ(outcome["step"], silent ? "set" : "program") << outcome;
  }
  std::vector<uint8_t> logos;
  std::string reason;
  ASSERT_TRUE(ReadFileBounded(folder + "logo.bin", 1u << 20, logos, reason)) << reason;
  for (size_t i = 0; i < 4; ++i) {
    if (i == kSilent) {
      EXPECT_EQ(sims[i].RequestCount(), 0u);
      continue;
    }
    EXPECT_FALSE(sims[i].ParameterBlock().empty()) << i;
    EXPECT_EQ(sims[i].DownloadRange(kLogoAddress, logos.size()), logos) << i;
    EXPECT_EQ(sims[i].FirmwareImage(), image) << i;
  }

  // The record: a line per printer, one run, the image's digest among the inputs.
  const std::vector<nlohmann::json> records = JsonLines(ReadTextFile(folder + "runs.jsonl"));
  ASSERT_EQ(records.size(), 4u);
  const std::string runId = records[0]["run"];
  const std::string imageSha = Sha256Sum(folder + "line/image.bin");
  ASSERT_EQ(imageSha.size(), 64u);
  for (size_t i = 0; i < 4; ++i) {
    const nlohmann::json& record = records[i];
    EXPECT_EQ(record["run"], runId);
    EXPECT_EQ(record["port"], sims[i].DevicePath()) << "in the order given";
    EXPECT_EQ(record["baud"], i == kSilent ? nlohmann::json(nullptr) : nlohmann::json(listens[i])) << record;
    bool hasImage = false;
    for (const nlohmann::json& input : record["inputs"])
      hasImage = hasImage || (input["sha256"] == imageSha && input["size"] == image.size());
    EXPECT_TRUE(hasImage) << record;
    const std::string trace = record["trace"];
    EXPECT_EQ(trace.rfind(folder + "traces/" + runId + "/", 0), 0u) << trace;
    EXPECT_EQ(ReadTextFile(trace).rfind("OPEN " + sims[i].DevicePath(), 0), 0u) << trace;
  }

  // runs --failed names the silent port alone, with its kept trace.
  const TRun failed = RunCli("--folder " + folder + " runs --failed", false);
  EXPECT_EQ(failed.Status, 0);
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(failed.Output.find(sims[i].DevicePath() + " ") != std::string::npos, i == kSilent) << failed.Output;
  EXPECT_NE(failed.Output.find("ERROR 3 in set"), std::string::npos) << failed.Output;
  EXPECT_NE(failed.Output.find(folder + "traces/" + runId + "/set-debug-"), std::string::npos) << failed.Output;
  const TRun last = RunCli("--folder " + folder + " runs --json --last 1 --port " + sims[0].DevicePath(), false);
  const std::vector<nlohmann::json> one = JsonLines(last.Output);
  ASSERT_EQ(one.size(), 1u) << last.Output;
  EXPECT_EQ(one[0], records[0]);
}

// Two rack runs at once append whole lines to one record; the older run's traces go
// beyond KEEP=1.
TEST(CliStation, RunsAtOnceLeaveWholeLines) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  WriteTextFile(folder + "config.ini", "[STATION]\nKEEP=1\n");
  WriteTextFile(folder + "recipe.ini", "[SET]\nSTRING=654321\n");
  constexpr size_t kRack = 3;
  TSimPrinter sims[2][kRack];
  std::string ports[2];
  for (size_t r = 0; r < 2; ++r)
    for (TSimPrinter& sim : sims[r]) {
      ASSERT_TRUE(sim.StartPty()) << sim.LastError();
      ports[r] += "--port " + sim.DevicePath() + " ";
    }
  TRun runs[2];
  std::thread other([&] { runs[1] = RunCli("--folder " + folder + " --json " + ports[1] + "run " + folder + "recipe.ini", false); });
  runs[0] = RunCli("--folder " + folder + " --json " + ports[0] + "run " + folder + "recipe.ini", false);
  other.join();
  EXPECT_EQ(runs[0].Status, 0) << runs[0].Output;
  EXPECT_EQ(runs[1].Status, 0) << runs[1].Output;

  const std::vector<nlohmann::json> records = JsonLines(ReadTextFile(folder + "runs.jsonl"));
  EXPECT_EQ(records.size(), 2 * kRack);
  std::set<std::string> ids;
  for (const nlohmann::json& record : records) ids.insert(record["run"].get<std::string>());
  EXPECT_EQ(ids.size(), 2u);
  std::vector<std::string> kept;
  for (const auto& entry : std::filesystem::directory_iterator(folder + "traces")) kept.push_back(entry.path().filename());
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0], *ids.rbegin()) << "the newest run's traces stay";
}

// Every input of every step is read and checked first: a bad one in the last step, or
// a recipe that is no recipe, touches no printer and records no run.
TEST(CliStation, RecipeWithABadInputTouchesNoPrinter) {
  TTempDir dir;
  const std::string folder = dir.Path() + "/";
  WriteBytesFile(folder + "image.bin", ValidFirmwareImage(2 * 256));
  WriteBytesFile(folder + "bad.bin", PatternBytes(300));
  WriteTextFile(folder + "a.bmp", BlackBmp(8, 2));
  const std::string steps = "[SET]\nSTRING=1\n[LOGO]\nPICTURES=a.bmp\n[PROGRAM]\nIMAGE=image.bin\n";
  struct TRow {
    std::string Recipe;
    int Status;
    std::string Said;
  };
  const TRow rows[] = {
      {steps + "[DOWNLOAD]\nFILES=image.bin missing.bin\n", 65, "missing.bin"},
      {steps + "[DOWNLOAD]\nFILES=image.bin:4x\n", 65, "4x"},
      {"[SET]\nSTRING=1\n[PROGRAM]\nIMAGE=bad.bin\n", 65, "not a valid firmware image"},
      {"[SET]\nSTRING=1\n[LOGO]\nPICTURES=gone.bmp\n", 65, "gone.bmp"},
      {steps + "[DOWNLOAD]\nFILE=image.bin\n", 64, "no key FILE in [DOWNLOAD]"},
      {"[SET]\nNEWBAUD=12345\n", 64, "--new-baud takes one of"},
      {"[PROGRAMS]\nIMAGE=image.bin\n", 64, "no section [PROGRAMS]"},
      {"; nothing\n", 64, "no step"},
  };
  TSimPrinter sim;
  ASSERT_TRUE(sim.StartPty()) << sim.LastError();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Recipe);
    WriteTextFile(folder + "recipe.ini", row.Recipe);
    const TRun run = RunCli("--folder " + folder + " --port " + sim.DevicePath() + " run " + folder + "recipe.ini");
    EXPECT_EQ(run.Status, row.Status) << run.Output;
    EXPECT_NE(run.Output.find(row.Said), std::string::npos) << run.Output;
  }
  EXPECT_EQ(sim.RequestCount(), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder + "runs.jsonl"));
}

}  // namespace
}  // namespace printset::cli_station
