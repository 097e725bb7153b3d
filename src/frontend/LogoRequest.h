// The logo set's DOWNLOAD: the packed set saved as logo.bin, the record of the last set
// sent, and sent from memory as one download entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/Request.h"
#include "settings/LogoSettings.h"

namespace printset {

constexpr const char* kLogoFileName = "logo.bin";

// DOWNLOAD of `set`, the logo set packed from the list (`complete`: every picture of it
// was packed), with [LOGO]'s COMMAND and PARA of `settings`; `stateFolder` ends with a
// separator. logo.bin there is replaced in one step. Refused as IncompleteLogoSet (a set
// that stopped short announces logos it does not hold: neither saved nor sent, the last
// good logo.bin stays) or CannotSave ("Cannot create file "PATH". REASON"). Operation
// "logo download".
TChecked<TRequest> LogoDownloadRequest(const std::vector<uint8_t>& set, bool complete, const TLogoSettings& settings,
                                       const std::string& stateFolder);

}  // namespace printset
