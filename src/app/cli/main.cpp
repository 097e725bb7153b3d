// printset-cli: the operations of the window, for scripts and production lines.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliContext.h"
#include "CliSignals.h"
#include "engine/Convert.h"
#include "printset/Version.h"
#include "settings/LinkSettings.h"

namespace printset {

namespace {

const char kUsage[] =
    "Usage: printset-cli [--port NAME] [--baud RATE] [--folder DIR] VERB [ARGS]\n"
    "\n"
    "Common options:\n"
    "  --port NAME     COM1..COM9 (mapped by [PORTS] of config.ini, else /dev/ttyS0..8),\n"
    "                  a device path such as /dev/ttyUSB0, or TCP/IP for UDP to the\n"
    "                  address in [NETWORK] HOST/PORT of config.ini. Default COM1.\n"
    "  --baud RATE     the baud rate the printer listens at now. Default 9600.\n"
    "  --folder DIR    program folder: config.ini is read there, debug.log and logo.bin\n"
    "                  are written there. Default: the folder of this program.\n"
    "  --help, -h      show this text.\n"
    "  --version       show the version and the commit it was built from.\n"
    "\n"
    "Verbs:\n"
    "  set [--new-baud RATE] [--codepage NAME | --codepage-value N] [--string DIGITS]\n"
    "      Sends the printer its new baud rate (4800, 9600, 19200, 38400, 57600 or\n"
    "      115200; default 9600), code page (N from 0 to 255; default the first of\n"
    "      [CODEPAGE], else 0) and string of up to six digits or blanks (default\n"
    "      today, yymmdd; a blank counts as 0).\n"
    "  program IMAGE.bin\n"
    "      Checks the firmware image (a regular file of at most 16 MiB, length word\n"
    "      and word sum) and programs it at 115200 baud.\n"
    "  download FILE[:COMMAND[:BASE]]...\n"
    "      Writes files into the printer's memory in download mode at 115200 baud;\n"
    "      COMMAND (0 to 0xFFFF) defaults to 45, BASE (printer address, 0 to\n"
    "      0xFFFFFFFF) to 0; both decimal or 0x hexadecimal. A field after a colon\n"
    "      that starts with a digit must be a number; a FILE holding such a colon\n"
    "      is given with both numbers (log:1:45:0).\n"
    "  logo pack PICTURE... [-o FILE] [--allow-empty]\n"
    "      Packs pictures into a logo set (default FILE: logo.bin in the program folder)\n"
    "      and prints its size and the space it takes, using [LOGO] of config.ini\n"
    "      (at most QUANTITY + 1 pictures).\n"
    "  logo download PICTURE... [--allow-empty]\n"
    "      Packs, saves logo.bin in the program folder and downloads it, as the\n"
    "      DOWNLOAD button does. No PICTURE is refused unless --allow-empty is given:\n"
    "      an empty set clears the printer's logos.\n"
    "\n"
    "Prints OK or ERROR with the reason; the trace of the exchange is in debug.log.\n"
    "Exit status: 0 on success, the result code of the job on failure (1 port not\n"
    "opened, 3 no valid reply, 4 local baud change failed, 5 identity not accepted,\n"
    "7 download mode refused, 8 programming mode refused, 9 stopped on an error,\n"
    "10 cancelled by Ctrl-C or SIGTERM: the first stops after the current request,\n"
    "a second quits at once),\n"
    "64 for a usage error, 65 for an invalid input file (missing, unreadable, not a\n"
    "regular file, a bad number in FILE:COMMAND:BASE); nothing is sent after 64 or 65.\n";

std::string ExecutableFolder() {
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "./";
  std::string full(path, static_cast<size_t>(n));
  return full.substr(0, full.rfind('/') + 1);
}

int Main(const std::vector<std::string>& args) {
  TCliContext context;
  std::string folder = ExecutableFolder();
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::fputs(VersionLine("printset-cli").c_str(), stdout);
      return 0;
    } else if (arg == "--port") {
      context.Host.PortNameValue = OptionValue(args, i);
    } else if (arg == "--baud") {
      context.Host.BaudValue = StrToInt(Trim(OptionValue(args, i)));
    } else if (arg == "--folder") {
      folder = OptionValue(args, i);
      // "" would silently mean the root folder once the separator is added.
      if (folder.empty()) throw TUsageError("--folder needs a folder name, not \"\"");
      if (folder.back() != '/') folder += '/';
    } else if (arg.rfind("--", 0) == 0) {
      throw TUsageError("unknown option " + arg);
    } else {
      break;
    }
  }
  if (i >= args.size()) throw TUsageError("no verb given");
  const std::string verb = args[i];
  const std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());

  context.Host.Folder = folder;
  context.Host.ShowProgress = ::isatty(STDERR_FILENO) == 1;
  context.Profile = std::make_unique<TProfileFile>(folder + "config.ini");
  const TLinkSettings link = ReadLinkSettings(*context.Profile);
  context.Host.Ports = link.PortMap;
  context.Host.Udp.Host = link.NetworkHost;
  context.Host.Udp.Port = link.NetworkPort;
  context.Thread = std::make_unique<TCommThread>(context.Host);
  const TJobWatch watch(*context.Thread, verb == "program"
                                             ? "; the printer's firmware is then incomplete: program the image again"
                                             : "");

  if (verb == "set") return RunSetVerb(context, rest);
  if (verb == "program") return RunProgramVerb(context, rest);
  if (verb == "download") return RunDownloadVerb(context, rest);
  if (verb == "logo") return RunLogoVerb(context, rest);
  throw TUsageError("unknown verb " + verb);
}

}  // namespace

std::string OptionValue(const std::vector<std::string>& args, size_t& i) {
  if (i + 1 >= args.size()) throw TUsageError(args[i] + " needs a value");
  return args[++i];
}

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
  } catch (const std::exception& error) {
    std::fprintf(stderr, "printset-cli: %s\n", error.what());
    return printset::kExitDataError;
  }
}
