// "logo show": what a packed logo set holds, checked strictly, and a picture of its dots.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliJson.h"
#include "base/FileIo.h"
#include "logo/DotBitmap.h"
#include "logo/DotsPng.h"
#include "logo/LogoSetReader.h"

namespace printset {

int RunLogoShowVerb(TCliContext& context) {
  const TCliOptions& options = context.Options;
  if (options.Files.size() != 1) throw TUsageError("logo show needs one FILE, the packed set");
  const std::string& path = options.Files.front();
  std::vector<uint8_t> set;
  std::string reason;
  if (!ReadFileBounded(path, kMaxLogoSetFileSize, set, reason)) throw std::runtime_error(path + ": " + reason);
  const TLogoSetContents contents = ReadLogoSet(set);
  if (!contents.Reason.empty()) {
    std::fprintf(stderr, "printset-cli: %s: not a logo set: %s\n", path.c_str(), contents.Reason.c_str());
    return kExitDataError;
  }
  const size_t count = contents.Logos.size();
  if (options.Json) {
    TJson object = JsonObject();
    object["operation"] = options.Verb;
    object["file"] = path;
    object["bytes"] = set.size();
    TJson logos = TJson::array();
    for (const TPackedLogo& logo : contents.Logos)
      logos.push_back({{"width", logo.Width()}, {"height", logo.Height}, {"bytes", logo.Size()}});
    object["logos"] = logos;
    std::printf("%s\n", JsonLine(object).c_str());
  } else {
    std::printf("%zu %s, %zu bytes\n", count, count == 1 ? "logo" : "logos", set.size());
    for (size_t i = 0; i < count; ++i) {
      const TPackedLogo& logo = contents.Logos[i];
      std::printf("%zu: %d x %d dots, %lld bytes\n", i + 1, logo.Width(), logo.Height,
                  static_cast<long long>(logo.Size()));
    }
  }
  if (!options.Output) return 0;
  if (count == 0) throw std::runtime_error(path + ": the set holds no logo, so there is no picture to write");
  const TDotBitmap dots = DrawLogos(set, contents.Logos);
  std::vector<uint8_t> png;
  if (dots.IsNull() || !EncodeDotsPng(dots, png, reason))
    throw std::runtime_error(*options.Output + ": the picture cannot be made: " +
                             (dots.IsNull() ? std::string("too large") : reason));
  if (!WriteFileAtomically(*options.Output, png.data(), png.size(), reason))
    throw std::runtime_error("Cannot create file \"" + *options.Output + "\". " + reason);
  return 0;
}

}  // namespace printset
