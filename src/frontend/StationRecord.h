// The station record: a JSON line per printer for every run of an operation, appended to
// runs.jsonl in the state folder, and each run's traces kept in traces/RUNID/. Both front
// ends record their runs through here; nothing here prints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/Json.h"
#include "frontend/PrinterOutcome.h"
#include "frontend/Request.h"
#include "settings/ProfileFile.h"

namespace printset {

constexpr const char* kRunsFileName = "runs.jsonl";
constexpr const char* kRunTracesFolder = "traces";
constexpr int32_t kDefaultKeptRuns = 100;  // [STATION] KEEP= of config.ini

// One run of an operation: its id ("20261209T101502Z-3fa9c1", UTC time and a random
// suffix) and its start (ISO 8601 UTC).
struct TStationRun {
  std::string Id;
  std::string Started;
};

// A run that starts now. Never fails.
TStationRun StartStationRun();

// KEEP of [STATION] in config.ini: how many runs' traces are kept; kDefaultKeptRuns
// when it is missing or below 1.
int32_t KeptRuns(const TProfileFile& profile);

// Records `run` of `operation` with `inputs`, a printer per outcome: keeps each
// outcome's trace in traces/RUNID/ of `stateFolder` as "debug-PORT.log" where it has not
// been kept yet (KeptTrace set here), appends a line per outcome to runs.jsonl, and
// removes the oldest run folders of traces/ beyond the newest `keep`. Returns what went
// wrong as warning lines ("warning: ...", each ending in a line end), empty when nothing
// did: a record that cannot be written never fails the operation. Never throws.
std::string RecordStationRun(const TStationRun& run, const std::string& stateFolder, int32_t keep,
                             const std::string& operation, const std::vector<TRecordInput>& inputs,
                             std::vector<TPrinterOutcome>& outcomes);

// Copies the trace at `tracePath` into traces/RUNID/ of `stateFolder` as `name` and
// returns the copy's absolute path; the path as given when it cannot be copied (a missing
// trace, a folder that cannot be made), with `error` set.
std::string KeepRunTrace(const TStationRun& run, const std::string& stateFolder, const std::string& tracePath,
                         const std::string& name, std::string& error);
// The warning line for a trace KeepRunTrace could not keep.
std::string TraceNotKeptWarning(const std::string& port, const std::string& error);

// The record line of one printer: run, start, host, operation, inputs, then the outcome.
TJson StationLine(const TStationRun& run, const std::string& operation, const std::vector<TRecordInput>& inputs,
                  const TPrinterOutcome& outcome);

}  // namespace printset
