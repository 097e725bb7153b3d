// "runs": the station record, as a person or a script reads it.
#include <cstdio>
#include <deque>
#include <fstream>
#include <string>

#include "CliContext.h"
#include "CliJson.h"
#include "frontend/StationRecord.h"
#include "base/Numbers.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"

namespace printset {

namespace {

// Far more records than --last would ask for; a larger count is a typo.
constexpr uint64_t kMaxLast = 1u << 30;

std::string Text(const TJson& record, const char* key) {
  const auto value = record.find(key);
  return value != record.end() && value->is_string() ? value->get<std::string>() : std::string();
}

int64_t Number(const TJson& record, const char* key) {
  const auto value = record.find(key);
  return value != record.end() && value->is_number() ? value->get<int64_t>() : -1;
}

// One record on one line: start, run, operation, port, outcome (the recipe's step that
// failed), rate, bytes, seconds, identity, trace, and the reason after a failure.
std::string RecordText(const TJson& record) {
  const int64_t result = Number(record, "result");
  std::string line = Text(record, "started") + "  " + Text(record, "run") + "  " + Text(record, "operation") + "  " +
                     PrintablePortName(Text(record, "port")) + "  ";
  line += result == kResultOk ? std::string("OK") : "ERROR " + std::to_string(result);
  if (result != kResultOk && !Text(record, "step").empty()) line += " in " + Text(record, "step");
  if (const int64_t baud = Number(record, "baud"); baud > 0) line += "  " + std::to_string(baud) + " baud";
  line += "  " + std::to_string(Number(record, "bytes")) + " bytes";
  if (const auto seconds = record.find("seconds"); seconds != record.end() && seconds->is_number()) {
    char text[32];
    std::snprintf(text, sizeof text, "  %.2f s", seconds->get<double>());
    line += text;
  }
  if (const std::string identity = Text(record, "identity"); !identity.empty()) line += "  \"" + identity + "\"";
  line += "  " + PrintablePortName(Text(record, "trace"));
  const std::string reason = Text(record, "reason");
  if (result != kResultOk && !reason.empty()) line += "\n    " + PrintablePortName(reason.substr(0, reason.find('\n')));
  return line + "\n";
}

}  // namespace

int RunRunsVerb(TCliContext& context) {
  const TCliOptions& options = context.Options;
  uint64_t last = 0;
  if (options.Last && (!ParseNumber(*options.Last, kMaxLast, last) || last == 0))
    throw TUsageError("--last takes a number of records from 1, not '" + *options.Last + "'");
  const std::string path = context.Paths.StateFolder + kRunsFileName;
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (!options.Quiet) std::fprintf(stderr, "printset-cli: no run recorded yet (%s)\n", path.c_str());
    return 0;
  }
  std::deque<std::pair<std::string, TJson>> kept;
  for (std::string line; std::getline(file, line);) {
    // A line cut short (a disk that was full) is no record; the others still are.
    TJson record = TJson::parse(line, nullptr, false);
    if (!record.is_object()) continue;
    if (options.Failed && Number(record, "result") == kResultOk) continue;
    if (!options.Ports.empty()) {
      bool named = false;
      for (const std::string& port : options.Ports) named = named || Text(record, "port") == port;
      if (!named) continue;
    }
    kept.emplace_back(line, std::move(record));
    if (last != 0 && kept.size() > last) kept.pop_front();
  }
  for (const auto& [line, record] : kept) {
    if (options.Json) std::printf("%s\n", line.c_str());
    else std::fputs(RecordText(record).c_str(), stdout);
  }
  std::fflush(stdout);
  return 0;
}

}  // namespace printset
