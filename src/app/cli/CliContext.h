// What every verb of the headless front end shares: the common options, the settings
// file of the program folder, and the worker.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "CliHost.h"
#include "engine/CommThread.h"
#include "settings/ProfileFile.h"

namespace printset {

constexpr int kExitUsage = 64;
constexpr int kExitDataError = 65;

// A usage error: the message goes to stderr and the program exits with kExitUsage.
class TUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TCliContext {
  TCliHost Host;
  std::unique_ptr<TProfileFile> Profile;
  std::unique_ptr<TCommThread> Thread;
};

// The value after an option, or a usage error.
std::string OptionValue(const std::vector<std::string>& args, size_t& i);

int RunSetVerb(TCliContext& context, const std::vector<std::string>& args);
int RunProgramVerb(TCliContext& context, const std::vector<std::string>& args);
int RunDownloadVerb(TCliContext& context, const std::vector<std::string>& args);
int RunLogoVerb(TCliContext& context, const std::vector<std::string>& args);

}  // namespace printset
