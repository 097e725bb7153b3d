#include "CliContext.h"

namespace printset {

int RunLogoVerb(TCliContext&, const std::vector<std::string>&) {
  throw TUsageError("logo: not available in this build");
}

}  // namespace printset
