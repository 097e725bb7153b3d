// The block transfers: "program" (firmware) and "download" (files into printer memory).
#include <cstdio>

#include "DownloadSpec.h"
#include "VerbJobs.h"
#include "frontend/TransferRequests.h"

namespace printset {

std::optional<TRequest> ProgramJob(const TCliOptions& options) {
  if (options.Files.size() != 1) throw TUsageError("program takes exactly one image file");
  return RequestOrSay(ProgramRequest(options.Files[0]), options);
}

std::optional<TRequest> DownloadJob(const TCliOptions& options) {
  if (options.Files.empty()) throw TUsageError("download needs at least one file");
  std::vector<TDownloadSpec> specs;
  for (const std::string& arg : options.Files) {
    TDownloadSpec spec;
    std::string error;
    if (!ParseDownloadSpec(arg, spec, error)) {
      std::fprintf(stderr, "printset-cli: %s; nothing was sent\n", error.c_str());
      return std::nullopt;
    }
    specs.push_back(spec);
  }
  return RequestOrSay(DownloadRequest(specs), options);
}

int RunProgramVerb(TCliContext& context) {
  const std::optional<TRequest> request = ProgramJob(context.Options);
  return request ? RunCliJob(context, *request) : kExitDataError;
}

int RunDownloadVerb(TCliContext& context) {
  const std::optional<TRequest> request = DownloadJob(context.Options);
  return request ? RunCliJob(context, *request) : kExitDataError;
}

}  // namespace printset
