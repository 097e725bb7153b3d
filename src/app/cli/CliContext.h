// What every verb of the headless front end shares: the options, the folders and the
// settings file, the ports the operation runs on, and the exit codes.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "frontend/LinkTarget.h"
#include "settings/AppPaths.h"
#include "settings/LinkSettings.h"
#include "settings/ProfileFile.h"

namespace printset {

// Beside the result codes of a job (1 to 10).
constexpr int kExitSomePrintersFailed = 11;
constexpr int kExitUsage = 64;
constexpr int kExitDataError = 65;
// A verb this build lacks (logo and ports without Qt): the service is unavailable here.
constexpr int kExitNeedsQt = 69;
// The system would not start a worker for every printer of a rack (its thread limit).
constexpr int kExitOsError = 71;
constexpr int kExitCannotCreate = 73;  // a folder of the program's files cannot be made

// A usage error: the message goes to stderr and the program exits with kExitUsage.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A folder of the program's files that cannot be made: exit kExitCannotCreate.
class TFolderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TCliContext {
  TCliOptions Options;
  TAppPaths Paths;
  std::unique_ptr<TProfileFile> Profile;
  TLinkSettings Link;
  std::vector<std::string> Ports;  // at least one, each once
  // --baud: the rate, and with "auto" every rate, tried in turn where a printer does not
  // answer at that rate.
  TLinkRate Rate;
};

// Resolves the folders and reads config.ini. TUsageError when --folder names no existing
// folder, TFolderError when a folder cannot be made.
void LoadSettings(TCliContext& context);
// The ports of --port and --ports (COM1 when none), and the baud rate. TUsageError for a
// port named twice (also in two spellings of one printer: links, COMn and [PORTS], host
// names), a malformed TCP/IP address or a --baud that is neither one of kBaudRates nor
// "auto"; std::runtime_error for a --ports file that cannot be read or holds more than
// 1 MiB. "--baud auto" starts at 9600 and searches the other rates.
void ResolvePorts(TCliContext& context);
// The serial ports of this machine, as `ports` lists them; empty in a build without Qt.
std::vector<std::string> ListedSerialPorts();

int RunDetectVerb(TCliContext& context);

int RunSetVerb(TCliContext& context);
int RunProgramVerb(TCliContext& context);
int RunDownloadVerb(TCliContext& context);
int RunLogoVerb(TCliContext& context);
int RunLogoShowVerb(TCliContext& context);
int RunPortsVerb(TCliContext& context);
int RunPathsVerb(TCliContext& context);
int RunCodePagesVerb(TCliContext& context);
int RunRunsVerb(TCliContext& context);
int RunRecipeVerb(TCliContext& context);

}  // namespace printset
