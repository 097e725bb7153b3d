// "logo pack" and "logo download": the logo set of the window's NVRAM page, headless.
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "VerbJobs.h"
#include "CliJson.h"
#include "base/FileIo.h"
#include "base/Numbers.h"
#include "engine/ResultCodes.h"
#include "frontend/LogoRequest.h"
#include "logo/DotlessLogos.h"
#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"
#include "report/ResultText.h"
#include "settings/LogoSettings.h"

namespace printset {

namespace {

// Writes the set as one step; a std::runtime_error names the file when that fails.
void SaveLogoSet(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  if (!WriteFileAtomically(path, bytes.data(), bytes.size(), error))
    throw std::runtime_error("Cannot create file \"" + path + "\". " + error);
}

// [LOGO] with --dots and --threshold laid over it. TUsageError for a rule of no name or
// a threshold outside 1 to 255.
TLogoSettings ChosenSettings(const TCliOptions& options, const TProfileFile& profile) {
  TLogoSettings settings = ReadLogoSettings(profile);
  if (options.Dots && !ParseDotRule(*options.Dots, settings.Dots))
    throw TUsageError("--dots takes classic, luma, floyd-steinberg, atkinson or ordered, not '" + *options.Dots + "'");
  if (options.Threshold) {
    uint64_t threshold = 0;
    if (!ParseNumber(*options.Threshold, kMaxDotThreshold, threshold) || threshold < kMinDotThreshold)
      throw TUsageError("--threshold takes a number from 1 to 255, not '" + *options.Threshold + "'");
    settings.Threshold = static_cast<int32_t>(threshold);
  }
  return settings;
}

// The pictures of `options` packed by [LOGO] and the options' rule: the set's bytes and
// its space text. Nullopt when a picture is missing or cannot be packed, the window's
// words on stdout (stderr with --json) and the reason on stderr.
struct TPackedLogos {
  std::vector<uint8_t> Bytes;
  std::string Space;
  TLogoSettings Settings;
};
std::optional<TPackedLogos> PackLogos(const TCliContext& context, const TCliOptions& options) {
  const std::vector<std::string>& pictures = options.Files;
  // An empty set clears the printer's logos: only on purpose, never for a forgotten list.
  if (pictures.empty() && !options.AllowEmpty)
    throw TUsageError(options.Verb + " needs at least one picture (--allow-empty makes a set of none, "
                      "which clears the printer's logos)");
  const TLogoSettings settings = ChosenSettings(options, *context.Profile);
  const int most = MaxLogoEntries(settings);
  if (pictures.size() > static_cast<size_t>(most))
    throw TUsageError("logo: " + std::to_string(pictures.size()) + " pictures, but QUANTITY=" +
                      std::to_string(settings.LogoQuantity) + " in [LOGO] of config.ini allows at most " +
                      std::to_string(most));
  // The window's words on stdout, unless stdout is kept for JSON.
  std::FILE* said = options.Json ? stderr : stdout;
  for (const std::string& picture : pictures) {
    std::string reason;
    if (!CheckReadableFile(picture, reason)) {
      std::fprintf(said, "%s\n", LogoFailureMessage(TLogoFailure::MissingFile));
      std::fprintf(stderr, "printset-cli: %s: %s\n", picture.c_str(), reason.c_str());
      return std::nullopt;
    }
  }
  const TPictureLoader load = PictureLoaderOn(SystemPictureDecoder());
  const TLogoSetResult set = BuildLogoSet(pictures, settings, load);
  if (!set.Complete) {
    // A set that stopped short announces logos it does not hold: it is neither saved nor sent.
    std::fprintf(said, "%s\n", LogoFailureMessage(set.Failure));
    const std::string which = set.FailedIndex >= 0 && static_cast<size_t>(set.FailedIndex) < pictures.size()
                                  ? pictures[static_cast<size_t>(set.FailedIndex)]
                                  : std::string("the list");
    std::fprintf(stderr, "printset-cli: %s: %s\n", which.c_str(), LogoFailureReason(set.Failure));
    return std::nullopt;
  }
  // A logo that prints nothing is still packed and sent, but never without a word, even
  // under --quiet: it is the operator's picture that is lost, not chatter about success.
  for (const TDotlessLogo& logo : FindDotlessLogos(set.Bytes, pictures, settings, load))
    std::fprintf(stderr, "printset-cli: %s\n",
                 DotlessLogoText(logo, pictures[static_cast<size_t>(logo.Index)], settings.Dots).c_str());
  return TPackedLogos{set.Bytes, FormatLogoSpace(static_cast<int64_t>(set.Bytes.size()), settings.LogoSize), settings};
}

}  // namespace

std::optional<TRequest> LogoDownloadJob(const TCliContext& context, const TCliOptions& options) {
  const std::optional<TPackedLogos> set = PackLogos(context, options);
  if (!set) return std::nullopt;
  // Saved as logo.bin, the record of the last set sent; the job sends the bytes packed
  // here, never the file.
  std::optional<TRequest> request =
      RequestOrSay(LogoDownloadRequest(set->Bytes, true, set->Settings, context.Paths.StateFolder), options);
  if (request && !options.Quiet) std::fprintf(stderr, "%s\n", set->Space.c_str());
  return request;
}

int RunLogoVerb(TCliContext& context) {
  const TCliOptions& options = context.Options;
  if (options.Verb == "logo download") {
    const std::optional<TRequest> request = LogoDownloadJob(context, options);
    return request ? RunCliJob(context, *request) : kExitDataError;
  }
  const std::optional<TPackedLogos> set = PackLogos(context, options);
  if (!set) return kExitDataError;
  const std::string output = options.Output.value_or(context.Paths.StateFolder + kLogoFileName);
  SaveLogoSet(output, set->Bytes);
  if (options.Json) {
    TJson object = JsonObject();
    object["operation"] = options.Verb;
    object["result"] = kResultOk;
    object["meaning"] = ResultCodeMeaning(kResultOk);
    object["bytes"] = set->Bytes.size();
    object["file"] = output;
    object["used"] = set->Bytes.size();
    object["free"] = static_cast<int64_t>(set->Settings.LogoSize) - static_cast<int64_t>(set->Bytes.size());
    object["size"] = set->Settings.LogoSize;
    std::printf("%s\n", JsonLine(object).c_str());
  } else if (!options.Quiet) {
    std::printf("%s: %zu bytes\n%s\n", output.c_str(), set->Bytes.size(), set->Space.c_str());
  }
  return 0;
}

}  // namespace printset
