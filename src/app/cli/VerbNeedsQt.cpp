// The verbs that need Qt, in the build without it (the Windows cross build): they are
// still known to the parser, so that a script learns why they fail rather than that
// they do not exist.
#include <cstdio>

#include "CliContext.h"
#include "VerbJobs.h"

namespace printset {

namespace {

int NeedsQt(const char* verb) {
  std::fprintf(stderr, "printset-cli: %s needs the build with Qt\n", verb);
  return kExitNeedsQt;
}

}  // namespace

int RunLogoVerb(TCliContext&) { return NeedsQt("logo"); }

int RunLogoShowVerb(TCliContext&) { return NeedsQt("logo"); }

int RunPortsVerb(TCliContext&) { return NeedsQt("ports"); }

// A recipe's [LOGO] step packs pictures, which takes Qt's picture reader: the recipe is
// refused before any printer is touched, with the reason.
std::optional<TRequest> LogoDownloadJob(const TCliContext&, const TCliOptions&) {
  std::fprintf(stderr, "printset-cli: [LOGO] needs the build with Qt\n");
  return std::nullopt;
}

// The port list comes from Qt Serial Port: without it, detect takes the ports named.
std::vector<std::string> ListedSerialPorts() { return {}; }

}  // namespace printset
