// printset-cli: the operations of the window, for scripts and production lines.
#include <cstdio>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliOptions.h"
#include "CliSignals.h"
#include "engine/Convert.h"

namespace printset {

namespace {

int Main(const std::vector<std::string>& args) {
  const TCommandLine line = ParseCommandLine(args);
  if (!line.Text.empty()) {
    std::fputs(line.Text.c_str(), stdout);
    return 0;
  }
  TCliContext context;
  context.Options = line.Options;
  const std::string& verb = context.Options.Verb;
  if (verb == "ports") return RunPortsVerb(context);
  LoadSettings(context);
  if (verb == "paths") return RunPathsVerb(context);
  if (verb == "logo pack") return RunLogoVerb(context);
  // Every verb below talks to printers.
  ResolvePorts(context);
  if (verb == "set") return RunSetVerb(context);
  if (verb == "program") return RunProgramVerb(context);
  if (verb == "download") return RunDownloadVerb(context);
  if (verb == "logo download") return RunLogoVerb(context);
  throw TUsageError("unknown verb " + verb);
}

}  // namespace

}  // namespace printset

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  printset::StartSignalWatch();
  try {
    return printset::Main(args);
  } catch (const printset::TUsageError& error) {
    std::fprintf(stderr, "printset-cli: %s\n(see printset-cli --help)\n", error.what());
    return printset::kExitUsage;
  } catch (const printset::TConvertError& error) {
    std::fprintf(stderr, "printset-cli: %s.\n", error.what());
    return printset::kExitUsage;
  } catch (const printset::TFolderError& error) {
    std::fprintf(stderr, "printset-cli: %s\n", error.what());
    return printset::kExitCannotCreate;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "printset-cli: %s\n", error.what());
    return printset::kExitDataError;
  }
}
