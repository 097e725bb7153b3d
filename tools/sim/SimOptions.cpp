#include "sim/SimOptions.h"

#include <CLI/CLI.hpp>

#include <functional>

#include "base/Numbers.h"
#include "base/Text.h"

namespace printset {

namespace {

constexpr size_t kHelpColumn = 21;
constexpr uint64_t kMaxPort = 0xFFFF;
constexpr uint64_t kMaxCommand = 0xFFFF;
constexpr uint64_t kMaxIgnoreFirst = 1000000;
constexpr uint64_t kMaxStrayBytes = 65536;
constexpr uint64_t kMaxDelayMs = 600000;
constexpr uint64_t kMaxOversize = 65535;
constexpr uint64_t kMaxImageSize = 16u << 20;
constexpr uint64_t kMinImageSize = 256;
constexpr uint64_t kMaxRate = 4000000;

const char kDescription[] =
    "A simulated receipt printer for trying printset without hardware.\n"
    "Creates a pseudo-terminal and prints its device path (e.g. /dev/pts/7) as the\n"
    "first line; give that path as the port name. Runs until SIGINT or SIGTERM.\n";

// The synopsis first, as help2man reads it, then what the program is.
class TSimHelpFormatter : public CLI::Formatter {
 public:
  std::string make_description(const CLI::App*) const override { return ""; }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    return CLI::Formatter::make_usage(app, name) + kDescription;
  }
};

// A number, decimal or 0x hex, from 0 to `max`; a validation error names `option`.
uint64_t Number(const std::string& option, const std::string& text, uint64_t max) {
  uint64_t value = 0;
  if (!ParseNumber(text, max, value))
    throw CLI::ValidationError(option, "'" + text + "' is not a number from 0 to " + std::to_string(max));
  return value;
}

// An option taking one such number, handed to `store` once parsed.
void AddNumber(CLI::App& app, const std::string& option, uint64_t max, const std::string& typeName,
               const std::string& description, std::function<void(uint64_t)> store) {
  app.add_option_function<std::string>(
         option, [option, max, store](const std::string& text) { store(Number(option, text, max)); }, description)
      ->type_name(typeName);
}

// Every option of the program, writing into `options` when parsed.
void DefineOptions(CLI::App& app, TSimOptions& options) {
  app.formatter(std::make_shared<TSimHelpFormatter>());
  app.get_formatter()->column_width(kHelpColumn);
  app.set_help_flag("-h,--help", "show this text");
  // Given twice, an option keeps its last value, as it always has.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--version", options.Version, "show the version and the commit it was built from");
  AddNumber(app, "--udp", kMaxPort, "PORT",
            "serve UDP on 127.0.0.1:PORT instead (0: any free port);\n"
            "a printer's line is then \"TCP/IP:127.0.0.1:PORT\", its port\n"
            "name for printset-cli --port or a --ports file",
            [&options](uint64_t value) {
              options.Udp = true;
              options.UdpPort = static_cast<uint16_t>(value);
            });
  app.add_option("--identity", options.Identity, "answer identify with TEXT (default \"PRN 7401\")")
      ->type_name("TEXT");
  app.add_option_function<std::vector<std::string>>(
         "--no-reply",
         [&options](const std::vector<std::string>& texts) {
           for (const std::string& text : texts)
             options.Faults.NoReplyCommands.insert(static_cast<uint16_t>(Number("--no-reply", text, kMaxCommand)));
         },
         "never answer command CMD (0x2E or 46); repeatable")
      ->option_text("CMD")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddNumber(app, "--ignore-first", kMaxIgnoreFirst, "N", "leave the first N requests unanswered",
            [&options](uint64_t value) { options.Faults.IgnoreFirst = static_cast<int>(value); });
  app.add_flag("--bad-header", options.Faults.BadHeaderCheck, "send replies with a wrong header check");
  app.add_flag("--bad-data", options.Faults.BadDataCheck, "send replies carrying data with a wrong data check");
  AddNumber(app, "--stray", kMaxStrayBytes, "N", "send N stray bytes before every reply",
            [&options](uint64_t value) { options.Faults.StrayBytes = static_cast<int>(value); });
  AddNumber(app, "--delay", kMaxDelayMs, "MS", "wait MS milliseconds before every reply",
            [&options](uint64_t value) { options.Faults.DelayMs = static_cast<int>(value); });
  AddNumber(app, "--oversize", kMaxOversize, "N", "make every reply carry N data bytes",
            [&options](uint64_t value) { options.Faults.OversizeLength = static_cast<int>(value); });
  app.add_flag("--pace", options.Pace, "take as long as a real 8N1 line at the current baud rate");
  app.add_option("--dump-dir", options.DumpDir,
                 "write requests.log, params.bin, firmware.bin and\n"
                 "download-<ADDRESS>.bin into DIR after every mode change\n"
                 "and on exit")
      ->type_name("DIR");
  AddNumber(app, "--count", kSimMaxCount, "N",
            "serve N printers at once (at most 64), one pty each (one\n"
            "path a line), or with --udp PORT the ports PORT..PORT+N-1\n"
            "(PORT 0: any free ones); --dump-dir then gets a folder\n"
            "printer-1 .. printer-N; faults apply to every printer",
            [&options](uint64_t value) {
              if (value == 0) throw CLI::ValidationError("--count", "at least one printer");
              options.Count = static_cast<int>(value);
            });
  app.add_option_function<std::string>(
         "--rate",
         [&options](const std::string& text) {
           options.Rates.clear();
           for (const std::string& item : SplitList(text)) {
             if (item == "any") options.Rates.push_back(kSimAnyRate);
             else if (item == "none") options.Rates.push_back(kSimDeaf);
             else options.Rates.push_back(static_cast<int32_t>(Number("--rate", item, kMaxRate)));
             if (options.Rates.back() == 0 && item != "any")
               throw CLI::ValidationError("--rate", "a rate is at least 1");
           }
         },
         "listen only while the host's line is at RATE, as a real\n"
         "printer does; a granted baud switch or a parameter block\n"
         "moves it. A list R1,R2,... gives each printer of --count\n"
         "its own (the last holds for the rest); \"any\" (the default)\n"
         "hears every rate, \"none\" nothing (a printer switched off)")
      ->type_name("RATE[,RATE...]");
  app.add_flag("-q,--quiet", options.Quiet, "do not print each request on stderr");
  app.add_option_function<std::vector<std::string>>(
         "--make-image",
         [&options](const std::vector<std::string>& values) {
           options.MakeImagePath = values[0];
           const uint64_t size = Number("--make-image", values[1], kMaxImageSize);
           if (size < kMinImageSize) throw CLI::ValidationError("--make-image", "an image holds at least 256 bytes");
           options.MakeImageSize = static_cast<size_t>(size);
         },
         "write a firmware image of SIZE bytes that PROGRAM accepts\n"
         "(length word and word sum set) and end")
      ->expected(2)
      ->option_text("FILE SIZE");
  // Anything left over is named by ParseSimOptions in words of its own.
  app.allow_extras();
}

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options, std::string& error) {
  CLI::App app("", "printer-sim");
  DefineOptions(app, options);
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them from the back
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.Help = true;
    return true;
  } catch (const CLI::ArgumentMismatch& mismatch) {
    // With every option keeping its last value, a mismatch is a value left out:
    // "--stray: 1 required N missing" reads better as it always has.
    const std::string what = mismatch.what();
    const size_t colon = what.find(':');
    error = colon == std::string::npos ? what : what.substr(0, colon) + " needs a value";
    return false;
  } catch (const CLI::ParseError& parseError) {
    error = parseError.what();
    return false;
  }
  if (!app.remaining().empty()) {
    error = "unknown option '" + app.remaining().front() + "'";
    return false;
  }
  return true;
}

std::string SimUsage(const std::string& program) {
  TSimOptions unused;
  CLI::App app("", program);
  DefineOptions(app, unused);
  return app.help();
}

}  // namespace printset
