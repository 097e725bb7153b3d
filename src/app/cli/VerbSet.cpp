// "set": the printer's new baud rate, code page and string.
#include <algorithm>
#include <cctype>
#include <cstring>

#include "VerbJobs.h"
#include "base/LocalTime.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "engine/ParameterBlock.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"
#include "settings/BaudRates.h"
#include "settings/LogoSettings.h"

namespace printset {

namespace {

constexpr uint64_t kMaxCodePage = 255;  // one byte of the parameter block
constexpr size_t kStringPositions = 6;  // the window's mask: six digits or blanks


// The names as the operator would type them, quoted, in file order.
std::string JoinNames(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) list += (list.empty() ? "'" : ", '") + name + "'";
  return list;
}

}  // namespace

TCliJob SetJob(const TCliContext& context, const TCliOptions& options) {
  // Without --new-baud the printer keeps the rate it is being talked to at: with --baud
  // auto each printer's worker puts the rate it found that printer at into the block.
  // Over UDP no rate is found, and the printer's serial rate is not known.
  const bool keepFoundRate = !context.SearchRates.empty() && !options.NewBaud;
  if (keepFoundRate)
    for (const std::string& port : context.Ports)
      if (ParseNetworkPortName(port).IsNetwork)
        throw TUsageError("set with --baud auto over UDP (" + PrintablePortName(port) +
                          ") needs --new-baud: the printer's serial rate is not found over UDP");
  std::string newBaud = std::to_string(context.Baud);
  if (options.NewBaud) {
    uint64_t rate = 0;
    if (!ParseNumber(*options.NewBaud, INT32_MAX, rate) || !IsBaudRate(static_cast<int64_t>(rate)))
      throw TUsageError("--new-baud takes one of " + BaudRateListText() + ", not '" + *options.NewBaud + "'");
    newBaud = std::to_string(rate);
  }
  const TCodePageTable codePages = ReadCodePages(*context.Profile);
  int32_t codePage = codePages.Names.empty() ? 0 : codePages.Values[0];
  if (options.CodePage) {
    size_t index = 0;
    while (index < codePages.Names.size() && !SameTextIgnoringCase(codePages.Names[index], *options.CodePage)) ++index;
    if (index == codePages.Names.size()) {
      if (codePages.Names.empty())
        throw TUsageError("no code page named '" + *options.CodePage + "': " + context.Profile->Path() +
                          " has no [CODEPAGE] section (printset-cli codepages --add adds the sample's)");
      throw TUsageError("no code page named '" + *options.CodePage + "' in [CODEPAGE] of config.ini; it has " +
                        JoinNames(codePages.Names));
    }
    codePage = codePages.Values[index];
  }
  if (options.CodePageValue) {
    uint64_t value = 0;
    if (!ParseNumber(*options.CodePageValue, kMaxCodePage, value))
      throw TUsageError("--codepage-value takes a number from 0 to 255, not '" + *options.CodePageValue + "'");
    codePage = static_cast<int32_t>(value);
  }
  const std::string digits = options.String.value_or(TodayAsYymmdd());
  if (digits.size() > kStringPositions) throw TUsageError("--string takes at most six characters");
  for (char c : digits)
    if (c != ' ' && !std::isdigit(static_cast<unsigned char>(c))) throw TUsageError("--string takes digits and blanks only");

  const TParameterBlock block = BuildParameterBlock(newBaud, codePage, digits);
  TCliJob job;
  job.Operation = "set";
  std::vector<uint8_t> bytes(block.begin(), block.end());
  job.Job = keepFoundRate ? TJob::SetParametersKeepingRate(std::move(bytes), kCommandSetParameters, 0)
                          : TJob::SetParameters(std::move(bytes), kCommandSetParameters, 0);
  job.Bytes = block.size();
  return job;
}

int RunSetVerb(TCliContext& context) { return RunCliJob(context, SetJob(context, context.Options)); }

}  // namespace printset
