// PROGRAM and DOWNLOAD of files: each input read whole, once, within its bound, and
// checked before anything is sent; the job sends exactly the bytes read here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/Request.h"
#include "settings/LogoSettings.h"

namespace printset {

// PROGRAM: the image at `path`, at most kMaxFirmwareFileSize bytes. Refused as
// Unreadable ("PATH: REASON") or InvalidImage ("Invalid file", Detail "PATH is not a
// valid firmware image (...)"). Operation "program", with the Ctrl-C warning that the
// firmware is then incomplete.
TChecked<TRequest> ProgramRequest(const std::string& path);

// The folder PROGRAM's image dialog opens in: `lastFolder`, where it was last left, while
// that is still a folder; else `configFolder`. Never fails.
std::string ImageDialogFolder(const std::string& lastFolder, const std::string& configFolder);

// One file of DOWNLOAD as the operator named it (printset-cli's FILE[:COMMAND[:BASE]]).
struct TDownloadSpec {
  std::string Path;
  uint16_t Command = kDefaultDownloadCommand;
  uint32_t Base = 0;
};

// DOWNLOAD of `files` in order, each at most kMaxDownloadFileSize bytes, shown by its
// name after the last '/'. Refused as Usage for no file, Unreadable ("PATH: REASON") for
// the first that cannot be read. Operation "download".
TChecked<TRequest> DownloadRequest(const std::vector<TDownloadSpec>& files);

}  // namespace printset
