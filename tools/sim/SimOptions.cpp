#include "sim/SimOptions.h"

#include "engine/Convert.h"

namespace printset {

bool ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const auto number = [&](uint64_t max, uint64_t& value) {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      if (!ParseNumber(args[++i], max, value)) {
        error = option + ": '" + args[i] + "' is not a number from 0 to " + std::to_string(max);
        return false;
      }
      return true;
    };
    uint64_t value = 0;
    if (option == "-h" || option == "--help") {
      options.Help = true;
    } else if (option == "--version") {
      options.Version = true;
    } else if (option == "--udp") {
      if (!number(0xFFFF, value)) return false;
      options.Udp = true;
      options.UdpPort = static_cast<uint16_t>(value);
    } else if (option == "--identity") {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      options.Identity = args[++i];
    } else if (option == "--no-reply") {
      if (!number(0xFFFF, value)) return false;
      options.Faults.NoReplyCommands.insert(static_cast<uint16_t>(value));
    } else if (option == "--ignore-first") {
      if (!number(1000000, value)) return false;
      options.Faults.IgnoreFirst = static_cast<int>(value);
    } else if (option == "--bad-header") {
      options.Faults.BadHeaderCheck = true;
    } else if (option == "--bad-data") {
      options.Faults.BadDataCheck = true;
    } else if (option == "--stray") {
      if (!number(65536, value)) return false;
      options.Faults.StrayBytes = static_cast<int>(value);
    } else if (option == "--delay") {
      if (!number(600000, value)) return false;
      options.Faults.DelayMs = static_cast<int>(value);
    } else if (option == "--oversize") {
      if (!number(65535, value)) return false;
      options.Faults.OversizeLength = static_cast<int>(value);
    } else if (option == "--pace") {
      options.Pace = true;
    } else if (option == "--dump-dir") {
      if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
      }
      options.DumpDir = args[++i];
    } else if (option == "--make-image") {
      if (i + 1 >= args.size()) {
        error = option + " needs a file and a size";
        return false;
      }
      options.MakeImagePath = args[++i];
      if (!number(16u << 20, value)) return false;
      if (value < 256) {
        error = option + ": an image holds at least 256 bytes";
        return false;
      }
      options.MakeImageSize = static_cast<size_t>(value);
    } else if (option == "--count") {
      if (!number(kSimMaxCount, value)) return false;
      if (value == 0) {
        error = option + ": at least one printer";
        return false;
      }
      options.Count = static_cast<int>(value);
    } else if (option == "--quiet" || option == "-q") {
      options.Quiet = true;
    } else {
      error = "unknown option '" + option + "'";
      return false;
    }
  }
  return true;
}

std::string SimUsage(const std::string& program) {
  return "Usage: " + program + " [options]\n"
         "A simulated receipt printer for trying printset without hardware.\n"
         "Creates a pseudo-terminal and prints its device path (e.g. /dev/pts/7) as the\n"
         "first line; give that path as the port name. Runs until SIGINT or SIGTERM.\n"
         "\n"
         "  --udp PORT         serve UDP on 127.0.0.1:PORT instead (0: any free port);\n"
         "                     the first line is then \"udp 127.0.0.1:PORT\"\n"
         "  --identity TEXT    answer identify with TEXT (default \"PRN 7401\")\n"
         "  --no-reply CMD     never answer command CMD (0x2E or 46); repeatable\n"
         "  --ignore-first N   leave the first N requests unanswered\n"
         "  --bad-header       send replies with a wrong header check\n"
         "  --bad-data         send replies carrying data with a wrong data check\n"
         "  --stray N          send N stray bytes before every reply\n"
         "  --delay MS         wait MS milliseconds before every reply\n"
         "  --oversize N       make every reply carry N data bytes\n"
         "  --pace             take as long as a real 8N1 line at the current baud rate\n"
         "  --dump-dir DIR     write requests.log, params.bin, firmware.bin and\n"
         "                     download-<ADDRESS>.bin into DIR after every mode change\n"
         "                     and on exit\n"
         "  --count N          serve N printers at once (at most 64), one pty each (one\n"
         "                     path a line), or with --udp PORT the ports PORT..PORT+N-1\n"
         "                     (PORT 0: any free ones); --dump-dir then gets a folder\n"
         "                     printer-1 .. printer-N; faults apply to every printer\n"
         "  --quiet, -q        do not print each request on stderr\n"
         "  --make-image FILE SIZE\n"
         "                     write a firmware image of SIZE bytes that PROGRAM accepts\n"
         "                     (length word and word sum set) and end\n"
         "  --help, -h         show this text\n"
         "  --version          show the version and the commit it was built from\n";
}

}  // namespace printset
