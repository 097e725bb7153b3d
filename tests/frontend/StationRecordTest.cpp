// The station record of a run as either front end makes it: the lines appended to
// runs.jsonl, the traces kept in traces/RUNID/, the oldest runs pruned, and what could not
// be done returned as warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/ResultCodes.h"
#include "frontend/StationRecord.h"
#include "frontend/TransferRequests.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {

namespace {

std::vector<TJson> Lines(const std::string& path) {
  std::vector<TJson> lines;
  std::istringstream text(ReadTextFile(path));
  for (std::string line; std::getline(text, line);) lines.push_back(TJson::parse(line));
  return lines;
}

}  // namespace

TEST(StationRecord, RunIsAppendedItsTracesKeptAndOldRunsPruned) {
  namespace fs = std::filesystem;
  const TTempDir dir;
  const std::string folder = dir.Path() + "/";
  for (const char* old : {"20200101T000000Z-000001", "20210101T000000Z-000002", "20220101T000000Z-000003"})
    fs::create_directories(fs::path(folder) / kRunTracesFolder / old);
  WriteTextFile(dir.File("debug.log"), "the trace\n");
  WriteTextFile(dir.File("abc.bin"), "abc");
  const TChecked<TRequest> request = DownloadRequest({{dir.File("abc.bin"), 45, 0}});
  ASSERT_TRUE(request);

  TJobOutcome ok;
  ok.ResultCode = kResultOk;
  ok.BaudRate = 19200;
  ok.DeviceIdentity = "PRN 7401";
  ok.BytesAcknowledged = 3;
  TJobOutcome silent;
  silent.ResultCode = kResultNoValidReply;
  std::vector<TPrinterOutcome> outcomes = {
      PrinterOutcome(*request, "/dev/ttyS0", ok, 1.25, dir.File("debug.log"), {}),
      PrinterOutcome(*request, "COM2", silent, 3, dir.File("missing.log"), {}, TReasonFrontEnd::Window)};
  EXPECT_EQ(outcomes[0].Identity, std::optional<std::string>("PRN 7401"));
  EXPECT_FALSE(outcomes[1].Identity);
  EXPECT_FALSE(outcomes[1].Baud);
  EXPECT_FALSE(outcomes[1].Reason.empty());

  const TStationRun run = StartStationRun();
  const std::string warnings =
      RecordStationRun(run, folder, 2, request->Operation(), request->Inputs(), outcomes);

  const std::string kept = fs::absolute(fs::path(folder) / kRunTracesFolder / run.Id / "debug-dev-ttyS0.log")
                               .lexically_normal()
                               .string();
  EXPECT_EQ(outcomes[0].KeptTrace, kept);
  EXPECT_EQ(ReadTextFile(kept), "the trace\n");
  // The trace that is not there is named as it was, with a warning.
  EXPECT_EQ(outcomes[1].KeptTrace, dir.File("missing.log"));
  EXPECT_EQ(warnings.rfind("warning: COM2: the trace was not kept in traces/: ", 0), 0u) << warnings;
  EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << warnings;

  const std::vector<TJson> lines = Lines(folder + kRunsFileName);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["run"], run.Id);
  EXPECT_EQ(lines[0]["started"], run.Started);
  EXPECT_EQ(lines[0]["operation"], "download");
  EXPECT_EQ(lines[0]["inputs"][0]["sha256"], "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(lines[0]["inputs"][0]["size"], 3);
  EXPECT_EQ(lines[0]["port"], "/dev/ttyS0");
  EXPECT_EQ(lines[0]["baud"], 19200);
  EXPECT_EQ(lines[0]["identity"], "PRN 7401");
  EXPECT_EQ(lines[0]["result"], 0);
  EXPECT_EQ(lines[0]["bytes"], 3);
  EXPECT_EQ(lines[0]["trace"], kept);
  EXPECT_EQ(lines[1]["port"], "COM2");
  EXPECT_TRUE(lines[1]["baud"].is_null());
  EXPECT_TRUE(lines[1]["identity"].is_null());
  EXPECT_EQ(lines[1]["result"], kResultNoValidReply);

  // KEEP=2: this run and the newest before it.
  std::vector<std::string> runs;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(folder) / kRunTracesFolder))
    runs.push_back(entry.path().filename().string());
  std::sort(runs.begin(), runs.end());
  EXPECT_EQ(runs, (std::vector<std::string>{"20220101T000000Z-000003", run.Id}));

  // A second run appends; the first run's lines stay whole.
  std::vector<TPrinterOutcome> again = {outcomes[0]};
  again[0].KeptTrace.clear();
  EXPECT_EQ(RecordStationRun(StartStationRun(), folder, 2, "download", request->Inputs(), again), "");
  EXPECT_EQ(Lines(folder + kRunsFileName).size(), 3u);
}

TEST(StationRecord, RecordThatCannotBeWrittenIsAWarning) {
  const TTempDir dir;
  const std::string folder = dir.Path() + "/gone/";
  std::vector<TPrinterOutcome> outcomes(1);
  outcomes[0].Port = "COM1";
  const std::string warnings = RecordStationRun(StartStationRun(), folder, 100, "set", {}, outcomes);
  EXPECT_NE(warnings.find("warning: the station record was not written: " + folder + kRunsFileName + ": "),
            std::string::npos)
      << warnings;
}

TEST(StationRecord, KeepIsReadFromTheSettings) {
  const TTempDir dir;
  const std::string path = dir.File("config.ini");
  const struct {
    const char* Text;
    int32_t Keep;
  } rows[] = {{"", kDefaultKeptRuns}, {"[STATION]\nKEEP=7\n", 7}, {"[STATION]\nKEEP=0\n", kDefaultKeptRuns}};
  for (const auto& row : rows) {
    WriteTextFile(path, row.Text);
    EXPECT_EQ(KeptRuns(TProfileFile(path)), row.Keep) << row.Text;
  }
}

}  // namespace printset
