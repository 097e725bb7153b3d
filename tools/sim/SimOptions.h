// Command line of the printer-sim program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/SimPrinter.h"
#include "sim/SimReply.h"

namespace printset {

constexpr uint64_t kSimMaxCount = 64;

struct TSimOptions {
  bool Help = false;
  bool Version = false;
  bool Udp = false;
  uint16_t UdpPort = 0;
  std::string Identity;  // empty: the default identity
  TSimFaults Faults;
  bool Pace = false;
  std::string DumpDir;
  bool Quiet = false;
  int Count = 1;  // printers served at once, each on its own pty or UDP port
  // --rate: the listening rate of each printer in turn (kSimAnyRate, kSimDeaf or a rate);
  // the last one holds for the printers after it. Empty: every rate.
  std::vector<int32_t> Rates;
  // --make-image FILE SIZE: write a firmware image the tool accepts, then end.
  std::string MakeImagePath;
  size_t MakeImageSize = 0;
};

// Parses the arguments after the program name. False with `error` set on anything
// unknown, missing or out of range.
bool ParseSimOptions(const std::vector<std::string>& args, TSimOptions& options, std::string& error);
std::string SimUsage(const std::string& program);

}  // namespace printset
