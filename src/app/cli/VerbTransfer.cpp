// The block transfers: "program" (firmware) and "download" (files into printer memory).
#include <cstdio>
#include <memory>

#include "VerbJobs.h"
#include "DownloadSpec.h"
#include "base/FileIo.h"
#include "engine/DataStream.h"
#include "engine/FirmwareImage.h"
#include "engine/TransferLimits.h"

namespace printset {

namespace {

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads an input file whole, once, before anything is sent; a file that cannot be sent is
// refused with the reason on stderr. The job sends exactly the bytes read here.
TSharedBytes ReadInput(const std::string& path, uint64_t maxSize) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (ReadFileBounded(path, maxSize, bytes, reason)) return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  std::fprintf(stderr, "printset-cli: %s: %s; nothing was sent\n", path.c_str(), reason.c_str());
  return nullptr;
}

}  // namespace

std::optional<TCliJob> ProgramJob(const TCliOptions& options) {
  const std::vector<std::string>& files = options.Files;
  if (files.size() != 1) throw TUsageError("program takes exactly one image file");
  const TSharedBytes image = ReadInput(files[0], kMaxFirmwareFileSize);
  if (!image) return std::nullopt;
  if (!IsValidFirmwareImage(image->data(), image->size())) {
    // The window's word for it; on stdout unless stdout is kept for JSON.
    std::fputs("Invalid file\n", options.Json ? stderr : stdout);
    std::fprintf(stderr, "printset-cli: %s is not a valid firmware image (at least 256 bytes, length word at "
                 "offset 4 equal to the file size, 32-bit word sum 0); nothing was sent\n", files[0].c_str());
    return std::nullopt;
  }
  TCliJob job;
  job.Operation = "program";
  job.Job = TJob::ProgramFirmware(image);
  job.Bytes = image->size();
  job.StopMessage = "the firmware is then incomplete: program the image again";
  job.Inputs.push_back(RecordInput(files[0], *image));
  return job;
}

std::optional<TCliJob> DownloadJob(const TCliOptions& options) {
  const std::vector<std::string>& files = options.Files;
  std::vector<TRecordInput> inputs;
  if (files.empty()) throw TUsageError("download needs at least one file");
  std::vector<TDownloadEntry> entries;
  uint64_t bytes = 0;
  for (const std::string& arg : files) {
    TDownloadSpec spec;
    std::string error;
    if (!ParseDownloadSpec(arg, spec, error)) {
      std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", error.c_str());
      return std::nullopt;
    }
    const TSharedBytes file = ReadInput(spec.Path, kMaxDownloadFileSize);
    if (!file) return std::nullopt;
    bytes += file->size();
    inputs.push_back(RecordInput(spec.Path, *file));
    entries.push_back({spec.Path, BaseName(spec.Path), spec.Command, spec.Base, file});
  }
  TCliJob job;
  job.Operation = "download";
  job.Job = TJob::DownloadFiles(std::move(entries));
  job.Bytes = bytes;
  job.Inputs = std::move(inputs);
  return job;
}

int RunProgramVerb(TCliContext& context) {
  const std::optional<TCliJob> job = ProgramJob(context.Options);
  return job ? RunCliJob(context, *job) : kExitDataError;
}

int RunDownloadVerb(TCliContext& context) {
  const std::optional<TCliJob> job = DownloadJob(context.Options);
  return job ? RunCliJob(context, *job) : kExitDataError;
}

}  // namespace printset
