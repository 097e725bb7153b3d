#include "frontend/LogoRequest.h"

#include <memory>

#include "base/FileIo.h"
#include "frontend/RequestMaker.h"

namespace printset {

namespace {

constexpr const char* kIncompleteSetText =
    "a picture of the list failed, so the logo set is incomplete; nothing was sent";

}  // namespace

TChecked<TRequest> LogoDownloadRequest(const std::vector<uint8_t>& set, bool complete, const TLogoSettings& settings,
                                       const std::string& stateFolder) {
  if (!complete) return TRefusal{TRefusalKind::IncompleteLogoSet, kIncompleteSetText, {}};
  // The record of the last set sent, written as one step; the job sends the set in
  // memory, never the file.
  const std::string path = stateFolder + kLogoFileName;
  std::string error;
  if (!WriteFileAtomically(path, set.data(), set.size(), error))
    return TRefusal{TRefusalKind::CannotSave, "Cannot create file \"" + path + "\". " + error, {}};
  TDownloadEntry entry{path, kLogoFileName, static_cast<uint16_t>(settings.LogoCommand),
                       static_cast<uint32_t>(settings.LogoPara), std::make_shared<const std::vector<uint8_t>>(set)};
  return TRequestMaker::Make("logo download", TJob::DownloadFiles({std::move(entry)}), set.size(), {},
                             {RecordInput(path, set)});
}

}  // namespace printset
