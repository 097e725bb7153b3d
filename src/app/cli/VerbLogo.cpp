// "logo pack" and "logo download": the logo set of the window's NVRAM page, headless.
#include <cstdio>

#include "CliContext.h"
#include "engine/DataStream.h"
#include "engine/InputFile.h"
#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"
#include "settings/LogoSettings.h"

namespace printset {

namespace {

constexpr const char* kLogoFileName = "logo.bin";
// A picture's size is judged by what it holds ([LOGO] WIDTH and the row limits), not by its file.
constexpr uint64_t kAnyPictureSize = UINT64_MAX;

}  // namespace

int RunLogoVerb(TCliContext& context, const std::vector<std::string>& args) {
  if (args.empty() || (args[0] != "pack" && args[0] != "download"))
    throw TUsageError("logo takes 'pack' or 'download'");
  const bool download = args[0] == "download";
  std::vector<std::string> pictures;
  std::string output = context.Host.Folder + kLogoFileName;
  bool allowEmpty = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (!download && (args[i] == "-o" || args[i] == "--output")) {
      output = OptionValue(args, i);
    } else if (args[i] == "--allow-empty") {
      allowEmpty = true;
    } else if (args[i].rfind("-", 0) == 0 && args[i].size() > 1) {
      throw TUsageError("logo: unknown option " + args[i]);
    } else {
      pictures.push_back(args[i]);
    }
  }
  // An empty set clears the printer's logos: only on purpose, never for a forgotten list.
  if (pictures.empty() && !allowEmpty)
    throw TUsageError("logo " + args[0] + " needs at least one picture (--allow-empty makes a set of none, "
                      "which clears the printer's logos)");
  const TLogoSettings settings = ReadLogoSettings(*context.Profile);
  const int most = MaxLogoEntries(settings);
  if (pictures.size() > static_cast<size_t>(most))
    throw TUsageError("logo: " + std::to_string(pictures.size()) + " pictures, but QUANTITY=" +
                      std::to_string(settings.LogoQuantity) + " in [LOGO] of config.ini allows at most " +
                      std::to_string(most));
  for (const std::string& picture : pictures) {
    std::string reason;
    if (!CheckInputFile(picture, kAnyPictureSize, reason)) {
      std::printf("%s\n", LogoFailureMessage(TLogoFailure::MissingFile));
      std::fprintf(stderr, "printset-cli: %s: %s\n", picture.c_str(), reason.c_str());
      return kExitDataError;
    }
  }
  const TLogoSetResult set = BuildLogoSet(pictures, settings, LoadPicture);
  if (!set.Complete) {
    // A set that stopped short announces logos it does not hold: it is neither saved nor sent.
    std::printf("%s\n", LogoFailureMessage(set.Failure));
    const std::string which = set.FailedIndex >= 0 && static_cast<size_t>(set.FailedIndex) < pictures.size()
                                  ? pictures[static_cast<size_t>(set.FailedIndex)]
                                  : std::string("the list");
    std::fprintf(stderr, "printset-cli: %s: %s\n", which.c_str(), LogoFailureReason(set.Failure));
    return kExitDataError;
  }
  if (!download) {
    WriteWholeFile(output, set.Bytes);
    std::printf("%s: %zu bytes\n%s\n", output.c_str(), set.Bytes.size(),
                FormatLogoSpace(static_cast<int64_t>(set.Bytes.size()), settings.LogoSize).c_str());
    return 0;
  }
  const std::string path = context.Host.Folder + kLogoFileName;
  WriteWholeFile(path, set.Bytes);
  std::fprintf(stderr, "%s\n", FormatLogoSpace(static_cast<int64_t>(set.Bytes.size()), settings.LogoSize).c_str());
  TDownloadList& list = context.Thread->DownloadList;
  list.Clear();
  list.Add(path, kLogoFileName, std::to_string(settings.LogoCommand), std::to_string(settings.LogoPara));
  return context.Host.RunJobAndReport(*context.Thread, JobDownloadFiles);
}

}  // namespace printset
