#include "frontend/StationRecord.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "frontend/AppendFile.h"
#include "frontend/SystemFacts.h"
#include "link/PortNames.h"
#include "report/ResultText.h"

namespace printset {

namespace {

constexpr uint32_t kRunSuffixMax = 0xFFFFFF;  // six hex digits after the time

// Appends `lines` to runs.jsonl, each line in one write() on a file opened for appending,
// so that runs at the same time never mix their lines. False with `error` set when the
// file cannot be opened or a write falls short.
bool AppendStationLines(const std::string& stateFolder, const std::vector<TJson>& lines, std::string& error) {
  const std::string path = stateFolder + kRunsFileName;
  TAppendFile file(path);
  for (const TJson& line : lines) {
    if (file.Append(JsonLine(line) + "\n")) continue;
    error = path + ": " + file.Error();
    return false;
  }
  return true;
}

// Removes the oldest run folders of traces/ beyond the newest `keep`. Never throws.
void PruneRunTraces(const std::string& stateFolder, int32_t keep) {
  namespace fs = std::filesystem;
  std::error_code failure;
  std::vector<std::string> runs;
  // Run ids start with their UTC time: in name order, the oldest first.
  for (fs::directory_iterator entry(fs::path(stateFolder) / kRunTracesFolder, failure), end; !failure && entry != end;
       entry.increment(failure))
    if (entry->is_directory(failure)) runs.push_back(entry->path().string());
  std::sort(runs.begin(), runs.end());
  const size_t kept = static_cast<size_t>(std::max(keep, int32_t{1}));
  for (size_t i = 0; i + kept < runs.size(); ++i) {
    std::error_code ignored;
    static_cast<void>(fs::remove_all(runs[i], ignored));
  }
}

}  // namespace

TStationRun StartStationRun() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  char stamp[32] = "19700101T000000Z";
  char started[32] = "1970-01-01T00:00:00Z";
  if (ToUtc(now, utc)) {
    if (std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc) == 0) std::strcpy(stamp, "19700101T000000Z");
    if (std::strftime(started, sizeof started, "%Y-%m-%dT%H:%M:%SZ", &utc) == 0)
      std::strcpy(started, "1970-01-01T00:00:00Z");
  }
  std::random_device random;
  std::uniform_int_distribution<uint32_t> suffix(0, kRunSuffixMax);
  char id[64];
  std::snprintf(id, sizeof id, "%s-%06x", stamp, static_cast<unsigned>(suffix(random)));
  return {id, started};
}

std::string KeepRunTrace(const TStationRun& run, const std::string& stateFolder, const std::string& tracePath,
                         const std::string& name, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code failure;
  const fs::path folder = fs::absolute(fs::path(stateFolder) / kRunTracesFolder / run.Id, failure);
  if (failure) {
    error = failure.message();
    return tracePath;
  }
  fs::create_directories(folder, failure);
  if (!failure) fs::copy_file(tracePath, folder / name, fs::copy_options::overwrite_existing, failure);
  if (failure) {
    error = failure.message();
    return tracePath;
  }
  return (folder / name).lexically_normal().string();
}

int32_t KeptRuns(const TProfileFile& profile) {
  const int32_t keep = profile.ReadInteger("STATION", "KEEP", kDefaultKeptRuns);
  return keep >= 1 ? keep : kDefaultKeptRuns;
}

std::string TraceNotKeptWarning(const std::string& port, const std::string& error) {
  return "warning: " + PrintablePortName(port) + ": the trace was not kept in " + kRunTracesFolder + "/: " + error + "\n";
}

TJson StationLine(const TStationRun& run, const std::string& operation, const std::vector<TRecordInput>& inputs,
                  const TPrinterOutcome& outcome) {
  TJson line;
  line["run"] = run.Id;
  line["started"] = run.Started;
  line["host"] = HostName();
  line["operation"] = operation;
  TJson files = TJson::array();
  for (const TRecordInput& input : inputs) files.push_back({{"name", input.Name}, {"size", input.Size}, {"sha256", input.Sha256}});
  line["inputs"] = files;
  line["port"] = outcome.Port;
  line["baud"] = outcome.Baud ? TJson(*outcome.Baud) : TJson(nullptr);
  AddIdentity(line, outcome.Identity);
  line["result"] = outcome.Result;
  line["meaning"] = ResultCodeMeaning(outcome.Result);
  if (!outcome.Step.empty()) line["step"] = outcome.Step;
  line["reason"] = outcome.Reason;
  line["bytes"] = outcome.Bytes;
  line["seconds"] = std::round(outcome.Seconds * 1000) / 1000;
  line["trace"] = outcome.KeptTrace.empty() ? outcome.TracePath : outcome.KeptTrace;
  return line;
}

std::string RecordStationRun(const TStationRun& run, const std::string& stateFolder, int32_t keep,
                             const std::string& operation, const std::vector<TRecordInput>& inputs,
                             std::vector<TPrinterOutcome>& outcomes) {
  std::string warnings;
  std::vector<TJson> lines;
  for (TPrinterOutcome& outcome : outcomes) {
    if (outcome.KeptTrace.empty() && !outcome.TracePath.empty()) {
      std::string error;
      outcome.KeptTrace = KeepRunTrace(run, stateFolder, outcome.TracePath, RackTraceFileName(outcome.Port), error);
      if (!error.empty()) warnings += TraceNotKeptWarning(outcome.Port, error);
    }
    lines.push_back(StationLine(run, operation, inputs, outcome));
  }
  std::string error;
  if (!AppendStationLines(stateFolder, lines, error))
    warnings += "warning: the station record was not written: " + error + "\n";
  PruneRunTraces(stateFolder, keep);
  return warnings;
}

}  // namespace printset
