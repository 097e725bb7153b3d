#include "StationRecord.h"

#include <fcntl.h>
#include <openssl/evp.h>

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

#include "engine/ResultCodes.h"
#include "report/ResultText.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace printset {

namespace {

constexpr size_t kHostNameMax = 256;
constexpr uint32_t kRunSuffixMax = 0xFFFFFF;  // six hex digits after the time

std::string HostName() {
#ifdef _WIN32
  const char* name = std::getenv("COMPUTERNAME");
  return name != nullptr ? name : "";
#else
  char name[kHostNameMax + 1] = {};
  if (gethostname(name, kHostNameMax) != 0) return "";
  return name;
#endif
}

bool ToUtc(std::time_t seconds, std::tm& utc) {
#ifdef _WIN32
  return gmtime_s(&utc, &seconds) == 0;
#else
  return gmtime_r(&seconds, &utc) != nullptr;
#endif
}

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

#ifdef _WIN32
int OpenForAppending(const std::string& path) {
  return _open(path.c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long WriteAll(int fd, const std::string& text) { return _write(fd, text.data(), static_cast<unsigned>(text.size())); }
void CloseFile(int fd) { static_cast<void>(_close(fd)); }
#else
int OpenForAppending(const std::string& path) {
  return open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
}
long WriteAll(int fd, const std::string& text) {
  for (;;) {
    const ssize_t written = write(fd, text.data(), text.size());
    if (written >= 0 || errno != EINTR) return static_cast<long>(written);
  }
}
void CloseFile(int fd) { static_cast<void>(close(fd)); }
#endif

}  // namespace

const TStationRun& StationRun() {
  static const TStationRun run = MakeRun();
  return run;
}

std::string Sha256Hex(const std::vector<uint8_t>& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr) != 1) return "";
  constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < length; ++i) {
    hex += kDigits[digest[i] >> 4];
    hex += kDigits[digest[i] & 0x0F];
  }
  return hex;
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
  line["baud"] = outcome.Baud;
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
  const int fd = OpenForAppending(path);
  if (fd < 0) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  bool written = true;
  for (const TJson& line : lines) {
    const std::string text = JsonLine(line) + "\n";
    if (WriteAll(fd, text) != static_cast<long>(text.size())) {
      error = path + ": " + std::strerror(errno);
      written = false;
      break;
    }
  }
  CloseFile(fd);
  return written;
}

}  // namespace printset
