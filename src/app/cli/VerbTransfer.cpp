// The block transfers: "program" (firmware) and "download" (files into printer memory).
#include <cstdio>
#include <filesystem>
#include <memory>

#include "CliJob.h"
#include "DownloadSpec.h"
#include "engine/DataStream.h"
#include "engine/FirmwareImage.h"
#include "engine/InputFile.h"

namespace printset {

namespace {

// No download file has a size limit of its own: the printer's addresses wrap at 32 bits.
constexpr uint64_t kAnyFileSize = UINT64_MAX;

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Refuses a file that cannot be sent, before anything is sent: the reason on stderr.
bool InputFileUsable(const std::string& path, uint64_t maxSize) {
  std::string reason;
  if (CheckInputFile(path, maxSize, reason)) return true;
  std::fprintf(stderr, "printset-cli: %s: %s; nothing was sent\n", path.c_str(), reason.c_str());
  return false;
}

}  // namespace

int RunProgramVerb(TCliContext& context) {
  const std::vector<std::string>& files = context.Options.Files;
  if (files.size() != 1) throw TUsageError("program takes exactly one image file");
  if (!InputFileUsable(files[0], kMaxFirmwareFileSize)) return kExitDataError;
  auto image = std::make_shared<const std::vector<uint8_t>>(ReadWholeFile(files[0]));
  if (!IsValidFirmwareImage(image->data(), image->size())) {
    // The window's word for it; on stdout unless stdout is kept for JSON.
    std::fputs("Invalid file\n", context.Options.Json ? stderr : stdout);
    std::fprintf(stderr, "printset-cli: %s is not a valid firmware image (at least 256 bytes, length word at "
                 "offset 4 equal to the file size, 32-bit word sum 0); nothing was sent\n", files[0].c_str());
    return kExitDataError;
  }
  TCliJob job;
  job.Operation = "program";
  job.Code = JobProgramFirmware;
  job.Bytes = image->size();
  job.StopMessage = "the firmware is then incomplete: program the image again";
  job.Prepare = [image](TCommThread& thread) { thread.DataStream.Assign(*image); };
  return RunCliJob(context, job);
}

int RunDownloadVerb(TCliContext& context) {
  const std::vector<std::string>& files = context.Options.Files;
  if (files.empty()) throw TUsageError("download needs at least one file");
  TDownloadList list;
  uint64_t bytes = 0;
  for (const std::string& arg : files) {
    TDownloadSpec spec;
    std::string error;
    if (!ParseDownloadSpec(arg, spec, error)) {
      std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", error.c_str());
      return kExitDataError;
    }
    if (!InputFileUsable(spec.Path, kAnyFileSize)) return kExitDataError;
    std::error_code sizeError;
    const uintmax_t size = std::filesystem::file_size(spec.Path, sizeError);
    bytes += sizeError ? 0 : size;  // a file gone since the check fails the job, not the count
    // The engine's list holds decimal text.
    list.Add(spec.Path, BaseName(spec.Path), std::to_string(spec.Command), std::to_string(spec.Base));
  }
  TCliJob job;
  job.Operation = "download";
  job.Code = JobDownloadFiles;
  job.Bytes = bytes;
  job.Prepare = [list](TCommThread& thread) { thread.DownloadList = list; };
  return RunCliJob(context, job);
}

}  // namespace printset
