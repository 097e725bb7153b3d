#include <algorithm>
#include <cctype>
#include <cstring>

#include "CliContext.h"
#include "engine/Convert.h"
#include "engine/ParameterBlock.h"
#include "report/ProgressText.h"
#include "settings/BaudRates.h"
#include "settings/LogoSettings.h"

namespace printset {

namespace {

constexpr uint64_t kMaxCodePage = 255;  // one byte of the parameter block
constexpr size_t kStringPositions = 6;  // the window's mask: six digits or blanks

std::string RateList() {
  std::string list;
  for (const int32_t rate : kBaudRates) list += (list.empty() ? "" : ", ") + std::to_string(rate);
  return list;
}

}  // namespace

int RunSetVerb(TCliContext& context, const std::vector<std::string>& args) {
  std::string newBaud = std::to_string(kDefaultBaudRate);
  std::string digits = TodayAsYymmdd();
  const TCodePageTable codePages = ReadCodePages(*context.Profile);
  int32_t codePage = codePages.Names.empty() ? 0 : codePages.Values[0];
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--new-baud") {
      const std::string text = OptionValue(args, i);
      uint64_t rate = 0;
      if (!ParseNumber(text, INT32_MAX, rate) ||
          std::find(kBaudRates.begin(), kBaudRates.end(), static_cast<int32_t>(rate)) == kBaudRates.end())
        throw TUsageError("--new-baud takes one of " + RateList() + ", not '" + text + "'");
      newBaud = std::to_string(rate);
    } else if (arg == "--codepage") {
      const std::string name = OptionValue(args, i);
      size_t index = 0;
      while (index < codePages.Names.size() && !SameTextIgnoringCase(codePages.Names[index], name)) ++index;
      if (index == codePages.Names.size()) throw TUsageError("no code page named '" + name + "' in [CODEPAGE] of config.ini");
      codePage = codePages.Values[index];
    } else if (arg == "--codepage-value") {
      const std::string text = OptionValue(args, i);
      uint64_t value = 0;
      if (!ParseNumber(text, kMaxCodePage, value))
        throw TUsageError("--codepage-value takes a number from 0 to 255, not '" + text + "'");
      codePage = static_cast<int32_t>(value);
    } else if (arg == "--string") {
      digits = OptionValue(args, i);
      if (digits.size() > kStringPositions) throw TUsageError("--string takes at most six characters");
      for (char c : digits)
        if (c != ' ' && !std::isdigit(static_cast<unsigned char>(c)))
          throw TUsageError("--string takes digits and blanks only");
    } else {
      throw TUsageError("set: unexpected argument " + arg);
    }
  }
  const TParameterBlock block = BuildParameterBlock(newBaud, codePage, digits);
  TCommThread& thread = *context.Thread;
  std::memcpy(thread.ParamBuffer, block.data(), block.size());
  thread.ParamLength = static_cast<int32_t>(block.size());
  thread.ParamCommand = kCommandSetParameters;
  thread.ParamArgument = 0;
  context.Host.PortNameValue = Trim(context.Host.PortNameValue);
  return context.Host.RunJobAndReport(thread, JobSetParameters);
}

}  // namespace printset
