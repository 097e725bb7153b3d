// printset-cli: the operations of the window, for scripts and production lines.
#include <cstdio>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliOptions.h"
#include "CliSignals.h"
#include "engine/Convert.h"
#include "engine/Rack.h"
#include "link/PortNames.h"

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
  // Reads a file named on the command line, nothing of the settings.
  if (verb == "logo show") return RunLogoShowVerb(context);
  LoadSettings(context);
  if (verb == "paths") return RunPathsVerb(context);
  if (verb == "codepages") return RunCodePagesVerb(context);
  if (verb == "logo pack") return RunLogoVerb(context);
  if (verb == "detect") return RunDetectVerb(context);
  if (verb == "runs") return RunRunsVerb(context);
  // Every verb below talks to printers.
  ResolvePorts(context);
  if (verb == "set") return RunSetVerb(context);
  if (verb == "program") return RunProgramVerb(context);
  if (verb == "download") return RunDownloadVerb(context);
  if (verb == "logo download") return RunLogoVerb(context);
  if (verb == "run") return RunRecipeVerb(context);
  throw TUsageError("unknown verb " + verb);
}

// An error's message for stderr: it may quote what the operator typed, so every line is
// made printable (no cursor movement, no line of its own), its line ends kept.
std::string PrintableMessage(const std::string& text) {
  std::string printable;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    printable += PrintablePortName(text.substr(start, end - start));
    if (end < text.size()) printable += '\n';
    start = end + 1;
  }
  return printable;
}

// "printset-cli: " and the error's message, then `after` (ending in a line end).
void PrintError(const std::exception& error, const char* after) {
  std::fprintf(stderr, "printset-cli: %s%s", PrintableMessage(error.what()).c_str(), after);
}

}  // namespace

}  // namespace printset

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  printset::StartSignalWatch();
  try {
    return printset::Main(args);
  } catch (const printset::TUsageError& error) {
    printset::PrintError(error, "\n(see printset-cli --help)\n");
    return printset::kExitUsage;
  } catch (const printset::TConvertError& error) {
    printset::PrintError(error, ".\n");
    return printset::kExitUsage;
  } catch (const printset::TFolderError& error) {
    printset::PrintError(error, "\n");
    return printset::kExitCannotCreate;
  } catch (const printset::TRackStartError& error) {
    // Thrown before any job starts: nothing was sent.
    printset::PrintError(error, "; nothing was sent\n");
    return printset::kExitOsError;
  } catch (const std::exception& error) {
    printset::PrintError(error, "\n");
    return printset::kExitDataError;
  }
}
