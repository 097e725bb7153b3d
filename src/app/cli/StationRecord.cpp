#include "StationRecord.h"

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

#include "AppendFile.h"
#include "Sha256.h"
#include "SystemFacts.h"
#include "engine/ResultCodes.h"
#include "report/ResultText.h"

namespace printset {

namespace {

constexpr uint32_t kRunSuffixMax = 0xFFFFFF;  // six hex digits after the time

TStationRun MakeRun() {
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


}  // namespace

const TStationRun& StationRun() {
  static const TStationRun run = MakeRun();
  return run;
}

TRecordInput RecordInput(const std::string& name, const std::vector<uint8_t>& bytes) {
  // The record is read after the shift, from anywhere: the path it names stands alone.
  std::error_code failure;
  const std::filesystem::path absolute = std::filesystem::absolute(name, failure);
  return {failure ? name : absolute.lexically_normal().string(), bytes.size(), Sha256Hex(bytes)};
}

std::string KeepRunTrace(const std::string& stateFolder, const std::string& tracePath, const std::string& name,
                         std::string& error) {
  namespace fs = std::filesystem;
  std::error_code failure;
  const fs::path folder = fs::absolute(fs::path(stateFolder) / kRunTracesFolder / StationRun().Id, failure);
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

int32_t KeptRuns(const TProfileFile& profile) {
  const int32_t keep = profile.ReadInteger("STATION", "KEEP", kDefaultKeptRuns);
  return keep >= 1 ? keep : kDefaultKeptRuns;
}

TJson StationLine(const std::string& operation, const std::vector<TRecordInput>& inputs,
                  const TPrinterOutcome& outcome) {
  const TStationRun& run = StationRun();
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

}  // namespace printset
