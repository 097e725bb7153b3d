#include "CliOptions.h"

#include <CLI/CLI.hpp>

#include "CliContext.h"
#include "printset/Version.h"

namespace printset {

namespace {

constexpr const char* kProgram = "printset-cli";
constexpr size_t kHelpColumn = 21;

const char kDescription[] =
    "Sets a receipt printer's baud rate, code page and string, programs its firmware\n"
    "and downloads files and logos into it, over a serial line or UDP; given several\n"
    "ports, on all of them at once. The common options may stand before or after\n"
    "the verb; VERB --help tells more about a verb.\n";

// The synopsis, one verb a line, each in 80 columns; help2man makes the manual page's
// SYNOPSIS of these lines ("or:" continues it). The common options may stand anywhere.
const char kUsage[] =
    "Usage: printset-cli [OPTIONS] VERB [ARGS]\n"
    "  or:  printset-cli set [--new-baud RATE] [--codepage NAME] [--string DIGITS]\n"
    "  or:  printset-cli set [--new-baud RATE] [--codepage-value N] [--string DIGITS]\n"
    "  or:  printset-cli program IMAGE.bin\n"
    "  or:  printset-cli download FILE[:COMMAND[:BASE]]...\n"
    "  or:  printset-cli logo pack PICTURE... [-o FILE] [--allow-empty]\n"
    "  or:  printset-cli logo download PICTURE... [--allow-empty]\n"
    "  or:  printset-cli logo show FILE [-o PICTURE.png]\n"
    "  or:  printset-cli detect\n"
    "  or:  printset-cli run RECIPE.ini\n"
    "  or:  printset-cli runs [--last N] [--failed]\n"
    "  or:  printset-cli codepages [--add]\n"
    "  or:  printset-cli ports\n"
    "  or:  printset-cli paths\n";

const char kFooter[] =
    "STRING (--string) is six digits or blanks, by default today's date as yymmdd.\n"
    "\n"
    "With one port it prints OK or ERROR with the reason, and the trace of the\n"
    "exchange is in debug.log. With several it prints a line per printer as it ends,\n"
    "then a summary; each printer's trace is in debug-PORT.log (the port's name with\n"
    "every character but letters, digits, '.', '_' and '-' made '-'; where two ports\n"
    "would share a file, each has -N added, N its place in the list), beside\n"
    "debug.log. On a terminal a progress bar shows the bytes, the rate and the time\n"
    "left (a line per printer).\n"
    "\n"
    "Every run appends a line per printer to runs.jsonl beside debug.log, the\n"
    "station record: run id, start (UTC), host, operation, its inputs' size and\n"
    "SHA-256, port, rate, identity, result, reason, bytes, seconds and trace; the\n"
    "traces are kept in traces/RUNID/ for the last 100 runs (KEEP= of [STATION] in\n"
    "config.ini). runs lists the record.\n"
    "\n"
    "Exit status: 0 on success, else the result code of the job (1 port not opened,\n"
    "3 no valid reply, also after the port was lost or a send refused, 4 local baud\n"
    "change failed, 5 identity not accepted, 7 download mode refused, 8 programming\n"
    "mode refused, 9 stopped on an error, 10 cancelled by Ctrl-C, SIGTERM, SIGHUP or\n"
    "SIGQUIT: the first stops after the current request, a second quits at once);\n"
    "with several ports 11 when some printers failed (10 when cancelled); 64 for a\n"
    "usage error (also one printer named twice, a --baud that is no rate of the\n"
    "list, or a --folder that does not exist), 65 for an invalid input file\n"
    "(missing, unreadable, not a regular file, a bad number in FILE:COMMAND:BASE, a\n"
    "--ports file over 1 MiB), 69 for logo and ports in a build without Qt, 71 when\n"
    "the system will not start a worker for every printer, 73 when a folder cannot\n"
    "be made or config.ini not written (codepages --add); nothing is sent after 64,\n"
    "65, 69, 71 or 73.";

const char kVerbFooter[] =
    "The common options (--port, --ports, --baud, --folder, --json, --quiet,\n"
    "--verbose) may stand before or after the verb; printset-cli --help describes\n"
    "them.";

// The synopsis first, as help2man reads it, then what the program or verb is for.
class THelpFormatter : public CLI::Formatter {
 public:
  THelpFormatter() {
    column_width(kHelpColumn);
    label("SUBCOMMAND", "VERB");
  }
  std::string make_description(const CLI::App*) const override { return ""; }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    std::string usage = app->get_parent() ? CLI::Formatter::make_usage(app, name) : std::string(kUsage);
    // A verb is required, though the parser is told it is optional so that a missing one
    // is reported in the front end's words.
    if (const size_t verb = usage.find(" [VERB]"); verb != std::string::npos) usage.replace(verb, 7, " VERB [ARGS]");
    // Pictures are required unless an empty set is asked for.
    if (const size_t pictures = usage.find(" [PICTURE...]"); pictures != std::string::npos)
      usage.replace(pictures, 13, " {PICTURE...|--allow-empty}");
    std::string description = app->get_description();
    if (!description.empty() && description.back() != '\n') description += '\n';
    return usage + description;
  }
};

// A verb with the forms the common options take after it.
CLI::App* AddVerb(CLI::App& parent, const std::string& name, const std::string& description) {
  CLI::App* verb = parent.add_subcommand(name, description);
  verb->group("Verbs");
  verb->set_help_flag("-h,--help", "show this text");
  verb->footer(kVerbFooter);
  return verb;
}

CLI::Option* AddText(CLI::App& app, const std::string& name, std::optional<std::string>& value,
                     const std::string& typeName, const std::string& description) {
  return app
      .add_option_function<std::string>(
          name, [&value](const std::string& text) { value = text; }, description)
      ->type_name(typeName);
}

// --dots and --threshold of "logo pack" and "logo download".
void AddDotOptions(CLI::App& verb, TCliOptions& options) {
  AddText(verb, "--dots", options.Dots, "RULE",
          "how colours become dots: classic (blue below the\n"
          "threshold), luma (brightness below it), floyd-steinberg,\n"
          "atkinson or ordered (dithered brightness). Default DOTS\n"
          "of [LOGO], else classic.");
  AddText(verb, "--threshold", options.Threshold, "N",
          "1 to 255. Default THRESHOLD of [LOGO], else 128.");
}

// Every option and verb, writing into `options` when parsed; the verbs in `verbs` with
// the name each stands for.
void Define(CLI::App& app, TCliOptions& options, std::vector<std::pair<CLI::App*, std::string>>& verbs) {
  app.formatter(std::make_shared<THelpFormatter>());
  app.description(kDescription);
  app.footer(kFooter);
  app.fallthrough();
  app.require_subcommand(0, 1);
  // Left-over arguments are named by ParseCommandLine, in its own words.
  app.allow_extras();
  app.set_help_flag("-h,--help", "show this text");
  // Given twice, an option keeps its last value, as it always has (a script may add to a
  // command line it was handed).
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--version", options.Version, "show the version and the commit it was built from");
  app.add_option("--port", options.Ports,
                 "COM1..COM9 (mapped by [PORTS] of config.ini, else\n"
                 "/dev/ttyS0..8), a device path such as /dev/ttyUSB0,\n"
                 "TCP/IP for UDP to [NETWORK] HOST and PORT of config.ini,\n"
                 "or TCP/IP:HOST[:PORT] for UDP to that address. Default\n"
                 "COM1. Given more than once, the operation runs on every\n"
                 "port at once.")
      ->type_name("NAME")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--ports", options.PortFiles,
                 "more ports, one name a line (blank lines and lines\n"
                 "beginning with # are skipped)")
      ->type_name("FILE")
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  AddText(app, "--baud", options.Baud, "RATE",
          "the baud rate the printers listen at now: 4800, 9600,\n"
          "19200, 38400, 57600 or 115200. Default 9600.\n"
          "auto: where a printer does not answer at 9600, try the\n"
          "other rates (identify requests only), then run the\n"
          "operation at the rate it answered at; set without\n"
          "--new-baud sends each printer that rate.");
  AddText(app, "--folder", options.Folder, "DIR",
          "config.ini is read in DIR, debug.log and logo.bin are\n"
          "written there; DIR must exist. Default: the folder of\n"
          "this program when config.ini stands there and it is\n"
          "writable, else ~/.config/printset and\n"
          "~/.local/state/printset (XDG).");
  app.add_flag("--json", options.Json,
               "print one JSON object a line on stdout for each operation\n"
               "(each printer): schema, port, operation, result, meaning,\n"
               "reason, baud, bytes, size, firmware_incomplete, seconds,\n"
               "identity, identity_hex, trace; with several ports a\n"
               "summary object (operation \"summary\") is the last line");
  app.add_flag("-q,--quiet", options.Quiet, "no progress and nothing on success: errors only");
  app.add_flag("-v,--verbose", options.Verbose,
               "the trace of the exchange also on stderr as it happens,\n"
               "each line behind its port name when there are several\n"
               "ports (no progress bar then)");

  CLI::App* set = AddVerb(app, "set",
                          "Sends the printer its new baud rate (4800, 9600, 19200,\n"
                          "38400, 57600 or 115200; default the rate of --baud, which\n"
                          "it keeps then, or with --baud auto the rate each printer\n"
                          "answered at), code page (N from 0 to 255; default the\n"
                          "first of [CODEPAGE], else 0) and string of up to six\n"
                          "digits or blanks (default today, yymmdd; a blank counts\n"
                          "as 0).");
  AddText(*set, "--new-baud", options.NewBaud, "RATE", "the printer's new baud rate");
  CLI::Option* codePage =
      AddText(*set, "--codepage", options.CodePage, "NAME", "a code page named in [CODEPAGE] of config.ini, in\nany case (printset-cli codepages lists them)")
          ->option_text("NAME");
  AddText(*set, "--codepage-value", options.CodePageValue, "N",
          "the code page's number, 0 to 255 (not with --codepage)")
      ->excludes(codePage)
      ->option_text("N");
  AddText(*set, "--string", options.String, "DIGITS", "up to six digits or blanks");
  verbs.emplace_back(set, "set");

  CLI::App* program = AddVerb(app, "program",
                              "Checks the firmware image (a regular file of at most\n"
                              "16 MiB, length word and word sum) and programs it at\n"
                              "115200 baud.");
  program
      ->add_option_function<std::string>(
          "IMAGE", [&options](const std::string& image) { options.Files.push_back(image); }, "the firmware image")
      ->required()
      ->option_text(" ");
  verbs.emplace_back(program, "program");

  CLI::App* download = AddVerb(app, "download",
                               "Writes files into the printer's memory in download mode\n"
                               "at 115200 baud; COMMAND (0 to 0xFFFF) defaults to 45,\n"
                               "BASE (printer address, 0 to 0xFFFFFFFF) to 0; both\n"
                               "decimal or 0x hexadecimal. A field after a colon that\n"
                               "starts with a digit must be a number; a FILE holding\n"
                               "such a colon is given with both numbers (log:1:45:0).");
  download->add_option("FILE", options.Files, "FILE[:COMMAND[:BASE]], one or more")->required()->option_text("...");
  verbs.emplace_back(download, "download");

  CLI::App* logo = AddVerb(app, "logo",
                           "Packs pictures into a logo set using [LOGO] of config.ini\n"
                           "(at most QUANTITY + 1 pictures), or packs, saves logo.bin\n"
                           "and downloads it as the DOWNLOAD button does, or shows\n"
                           "what a packed set holds. No PICTURE is refused unless\n"
                           "--allow-empty is given: an empty set clears the printer's\n"
                           "logos. A transparent picture is laid over white.");
  logo->require_subcommand(0, 1);
  CLI::App* pack = AddVerb(*logo, "pack",
                           "Packs the pictures into a logo set (default FILE: logo.bin\n"
                           "beside debug.log) and prints its size and the space it\n"
                           "takes.");
  pack->add_option("PICTURE", options.Files, "the pictures, in order")->option_text("...");
  AddText(*pack, "-o,--output", options.Output, "FILE", "where the set is written");
  pack->add_flag("--allow-empty", options.AllowEmpty, "make a set of no picture");
  AddDotOptions(*pack, options);
  verbs.emplace_back(pack, "logo pack");
  CLI::App* logoDownload = AddVerb(*logo, "download",
                                   "Packs the pictures, saves logo.bin beside debug.log and\n"
                                   "downloads it.");
  logoDownload->add_option("PICTURE", options.Files, "the pictures, in order")->option_text("...");
  logoDownload->add_flag("--allow-empty", options.AllowEmpty,
                         "download a set of no picture, which clears the printer's\nlogos");
  AddDotOptions(*logoDownload, options);
  verbs.emplace_back(logoDownload, "logo download");
  CLI::App* show = AddVerb(*logo, "show",
                           "Checks a packed logo set (markers, count, every logo's\n"
                           "header and rows, nothing left over) and prints the number\n"
                           "of logos and a line per logo: N: W x H dots, B bytes (B\n"
                           "with its 4-byte header). A malformed set is refused with\n"
                           "the reason (exit 65).");
  show->add_option_function<std::string>(
          "FILE", [&options](const std::string& file) { options.Files.push_back(file); }, "the packed set")
      ->required()
      ->option_text(" ");
  AddText(*show, "-o,--output", options.Output, "PICTURE.png",
          "also write a PNG picture of the dots, one pixel per dot,\n"
          "black on white, the logos one under another");
  verbs.emplace_back(show, "logo show");
  verbs.emplace_back(logo, "logo");

  verbs.emplace_back(AddVerb(app, "detect",
                             "Finds the printer on each port (--port, --ports; none\n"
                             "given: every serial port that ports lists) by identify\n"
                             "requests alone, at --baud first, then at each other rate.\n"
                             "Prints the port, the rate, the identity and whether it\n"
                             "is accepted. Exit 0 when every port named has an\n"
                             "accepted printer (none named: at least one), 3 when none\n"
                             "has, 11 when some have; one port named alone exits with\n"
                             "its result code (1 not opened, 3 no answer, 5 identity\n"
                             "not accepted)."),
                     "detect");
  CLI::App* recipe = AddVerb(app, "run",
                             "Runs a recipe on every printer: the steps of its [SET]\n"
                             "(NEWBAUD, CODEPAGE or CODEPAGE_VALUE, STRING), [LOGO]\n"
                             "(PICTURES, DOTS, THRESHOLD), [PROGRAM] (IMAGE) and\n"
                             "[DOWNLOAD] (FILES), each optional, in that order, with\n"
                             "one search (--baud auto). Every input is checked and\n"
                             "read before any printer is touched; a printer whose\n"
                             "step fails gets no later step. Paths are relative to\n"
                             "the recipe's folder.");
  recipe
      ->add_option_function<std::string>(
          "RECIPE", [&options](const std::string& file) { options.Files.push_back(file); }, "the recipe file")
      ->required()
      ->option_text(" ");
  verbs.emplace_back(recipe, "run");
  CLI::App* runs = AddVerb(app, "runs",
                           "Lists the station record (runs.jsonl beside debug.log):\n"
                           "a line per printer of every run, oldest first; --port\n"
                           "keeps that port's records only.");
  AddText(*runs, "--last", options.Last, "N", "the last N records only");
  runs->add_flag("--failed", options.Failed, "the records of printers that failed only");
  verbs.emplace_back(runs, "runs");
  verbs.emplace_back(AddVerb(app, "ports",
                             "Lists the serial ports that exist: device, stable\n"
                             "/dev/serial/by-id name, description, USB vendor and\n"
                             "product id, serial number."),
                     "ports");
  CLI::App* codePages = AddVerb(app, "codepages",
                                "Lists the code pages of [CODEPAGE] of config.ini, the\n"
                                "names --codepage takes, each with its number.");
  codePages->add_flag("--add", options.AddCodePages,
                      "first add the sample's [CODEPAGE] section to a\n"
                      "config.ini that has none; the rest of the file stays");
  verbs.emplace_back(codePages, "codepages");
  verbs.emplace_back(AddVerb(app, "paths", "Shows the folders in use: config.ini, debug.log and\nlogo.bin."),
                     "paths");
}

// Whether `name` ("--folder") is an option that takes a value, of the program or a verb.
bool TakesValue(const CLI::App& app, const std::string& name) {
  if (const CLI::Option* option = app.get_option_no_throw(name); option && option->get_type_size_max() > 0) return true;
  for (const CLI::App* verb : app.get_subcommands([](const CLI::App*) { return true; }))
    if (TakesValue(*verb, name)) return true;
  return false;
}

// "--opt=" gives the option an empty value, but the parser would take the argument after
// it as the value instead; it is handed over as "--opt" and "". Nothing after "--" is
// an option.
std::vector<std::string> EmptyValuesApart(const CLI::App& app, const std::vector<std::string>& args) {
  std::vector<std::string> apart;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
    optionsEnded = optionsEnded || arg == "--";
    const std::string name = arg.substr(0, arg.size() - 1);
    if (!optionsEnded && arg.size() > 3 && arg.compare(0, 2, "--") == 0 && arg.find('=') == arg.size() - 1 &&
        TakesValue(app, name)) {
      apart.push_back(name);
      apart.push_back("");
    } else {
      apart.push_back(arg);
    }
  }
  return apart;
}

}  // namespace

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  TCommandLine line;
  CLI::App app("", kProgram);
  std::vector<std::pair<CLI::App*, std::string>> verbs;
  Define(app, line.Options, verbs);
  const std::vector<std::string> apart = EmptyValuesApart(app, args);
  std::vector<std::string> reversed(apart.rbegin(), apart.rend());  // CLI11 takes them from the back
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    line.Text = app.help();
    return line;
  } catch (const CLI::ParseError& error) {
    throw TUsageError(error.what());
  }
  if (line.Options.Version) {
    line.Text = VersionLine(kProgram);
    return line;
  }
  // The innermost verb chosen names the operation.
  for (const auto& [verb, name] : verbs)
    if (verb->parsed() && line.Options.Verb.empty()) line.Options.Verb = name;
  const std::vector<std::string> rest = app.remaining();
  if (!rest.empty()) {
    const std::string& first = rest.front();
    if (first.size() > 1 && first[0] == '-') throw TUsageError("unknown option " + first);
    if (line.Options.Verb.empty()) throw TUsageError("unknown verb " + first);
    throw TUsageError(line.Options.Verb + ": unexpected argument " + first);
  }
  // "" would silently mean the root folder once the separator is added.
  if (line.Options.Folder && line.Options.Folder->empty()) throw TUsageError("--folder needs a folder name, not \"\"");
  if (line.Options.Verb.empty()) throw TUsageError("no verb given");
  if (line.Options.Verb == "logo") throw TUsageError("logo takes 'pack', 'download' or 'show'");
  return line;
}

}  // namespace printset
