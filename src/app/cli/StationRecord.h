// The station record: a JSON line per printer for every run of an operation, appended to
// runs.jsonl in the state folder, and each run's traces kept in traces/RUNID/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CliJson.h"
#include "CliReport.h"
#include "settings/ProfileFile.h"

namespace printset {

constexpr const char* kRunsFileName = "runs.jsonl";
constexpr const char* kRunTracesFolder = "traces";
constexpr int32_t kDefaultKeptRuns = 100;  // [STATION] KEEP= of config.ini

// One input of an operation as it was sent: where it came from (an absolute path), its
// size and SHA-256.
struct TRecordInput {
  std::string Name;
  uint64_t Size = 0;
  std::string Sha256;  // 64 lower-case hex digits
};

// This invocation: its id ("20261209T101502Z-3fa9c1", UTC time and a random suffix) and
// its start (ISO 8601 UTC), fixed at the first call.
struct TStationRun {
  std::string Id;
  std::string Started;
};
const TStationRun& StationRun();


TRecordInput RecordInput(const std::string& name, const std::vector<uint8_t>& bytes);

// Copies the trace at `tracePath` into traces/RUNID/ of `stateFolder` as `name` and
// returns the copy's absolute path; the path as given when it cannot be copied (a missing trace,
// a folder that cannot be made), with `error` set.
std::string KeepRunTrace(const std::string& stateFolder, const std::string& tracePath, const std::string& name,
                         std::string& error);
// Removes the oldest run folders of traces/ beyond the newest `keep`. Never throws.
void PruneRunTraces(const std::string& stateFolder, int32_t keep);

// KEEP of [STATION] in config.ini: how many runs' traces are kept; kDefaultKeptRuns
// when it is missing or below 1.
int32_t KeptRuns(const TProfileFile& profile);

// The record line of one printer: run, start, host, operation, inputs, then the outcome.
TJson StationLine(const std::string& operation, const std::vector<TRecordInput>& inputs,
                  const TPrinterOutcome& outcome);
// Appends `lines` to runs.jsonl, each line in one write() on a file opened for appending,
// so that runs at the same time never mix their lines. False with `error` set when the
// file cannot be opened or a write falls short.
bool AppendStationLines(const std::string& stateFolder, const std::vector<TJson>& lines, std::string& error);

}  // namespace printset
