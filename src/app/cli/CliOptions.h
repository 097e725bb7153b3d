// The command line of printset-cli: common options before or after the verb, the verbs
// and their own options, in the forms "--opt value" and "--opt=value".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace printset {

// What the command line asks for, as typed; values are checked by the verbs.
struct TCliOptions {
  std::vector<std::string> Ports;      // --port, in the order given
  std::vector<std::string> PortFiles;  // --ports FILE, one port name a line
  std::optional<std::string> Baud;
  std::optional<std::string> Folder;
  bool Json = false;
  bool Quiet = false;
  bool Verbose = false;  // -v: the trace on stderr as it is written
  bool Version = false;
  // "set", "program", "download", "logo pack", "logo download", "logo show", "detect",
  // "codepages", "ports" or "paths".
  std::string Verb;
  // set
  std::optional<std::string> NewBaud;
  std::optional<std::string> CodePage;
  std::optional<std::string> CodePageValue;
  std::optional<std::string> String;
  // program IMAGE, download FILE[:COMMAND[:BASE]]..., logo pack|download PICTURE...,
  // logo show FILE
  std::vector<std::string> Files;
  std::optional<std::string> Output;  // logo pack -o, logo show -o
  bool AllowEmpty = false;
  bool AddCodePages = false;  // codepages --add
  std::optional<std::string> Dots;       // logo pack|download --dots
  std::optional<std::string> Threshold;  // logo pack|download --threshold
  // runs (the station record): --last N, --failed; run RECIPE.ini is in Files
  std::optional<std::string> Last;
  bool Failed = false;
};

// The options, or the text to print instead of running anything (help, version).
struct TCommandLine {
  TCliOptions Options;
  std::string Text;
};

// Parses the arguments after the program name. Throws TUsageError for an unknown verb or
// option, a missing value, or options of one verb that exclude each other.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace printset
