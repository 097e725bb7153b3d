// The block transfers: "program" (firmware) and "download" (files into printer memory).
#include <cstdio>

#include "CliContext.h"
#include "engine/Convert.h"
#include "engine/FirmwareImage.h"

namespace printset {

namespace {

bool IsNumberText(const std::string& text) {
  try {
    StrToInt(text);
    return !text.empty() && text[0] != ' ';
  } catch (const TConvertError&) {
    return false;
  }
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int RunProgramVerb(TCliContext& context, const std::vector<std::string>& args) {
  if (args.size() != 1) throw TUsageError("program takes exactly one image file");
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
  TDownloadList& list = context.Thread->DownloadList;
  list.Clear();
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) == 0) throw TUsageError("download: unknown option " + arg);
    // FILE[:COMMAND[:BASE]]: numbers are taken from the right, so a path may hold colons.
    std::string path = arg;
    std::vector<std::string> numbers;
    for (int k = 0; k < 2; ++k) {
      const size_t colon = path.rfind(':');
      if (colon == std::string::npos || !IsNumberText(path.substr(colon + 1))) break;
      numbers.insert(numbers.begin(), path.substr(colon + 1));
      path.erase(colon);
    }
    const std::string command = numbers.size() > 0 ? numbers[0] : "45";
    const std::string base = numbers.size() > 1 ? numbers[1] : "0";
    if (!FileExists(path)) std::fprintf(stderr, "warning: %s does not exist and is skipped\n", path.c_str());
    list.Add(path, BaseName(path), command, base);
  }
  if (list.DownloadPaths.empty()) throw TUsageError("download needs at least one file");
  return context.Host.RunJobAndReport(*context.Thread, JobDownloadFiles);
}

}  // namespace printset
