// The block transfers: "program" (firmware) and "download" (files into printer memory).
#include <cstdio>

#include "CliContext.h"
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

int RunProgramVerb(TCliContext& context, const std::vector<std::string>& args) {
  if (args.size() != 1) throw TUsageError("program takes exactly one image file");
  if (!InputFileUsable(args[0], kMaxFirmwareFileSize)) return kExitDataError;
  std::vector<uint8_t> image = ReadWholeFile(args[0]);
  if (!IsValidFirmwareImage(image.data(), image.size())) {
    std::printf("Invalid file\n");
    std::fprintf(stderr, "printset-cli: %s is not a valid firmware image (at least 256 bytes, length word at "
                 "offset 4 equal to the file size, 32-bit word sum 0); nothing was sent\n", args[0].c_str());
    return kExitDataError;
  }
  context.Thread->DataStream.Assign(std::move(image));
  return context.Host.RunJobAndReport(*context.Thread, JobProgramFirmware);
}

int RunDownloadVerb(TCliContext& context, const std::vector<std::string>& args) {
  if (args.empty()) throw TUsageError("download needs at least one file");
  TDownloadList& list = context.Thread->DownloadList;
  list.Clear();
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) == 0) throw TUsageError("download: unknown option " + arg);
    TDownloadSpec spec;
    std::string error;
    if (!ParseDownloadSpec(arg, spec, error)) {
      std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", error.c_str());
      return kExitDataError;
    }
    if (!InputFileUsable(spec.Path, kAnyFileSize)) return kExitDataError;
    // The engine's list holds decimal text.
    list.Add(spec.Path, BaseName(spec.Path), std::to_string(spec.Command), std::to_string(spec.Base));
  }
  return context.Host.RunJobAndReport(*context.Thread, JobDownloadFiles);
}

}  // namespace printset
