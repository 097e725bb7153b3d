#include <cctype>
#include <cstring>

#include "CliContext.h"
#include "engine/Convert.h"
#include "engine/ParameterBlock.h"
#include "ui/LogoSettings.h"
#include "ui/ProgressText.h"

namespace printset {

namespace {

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

}  // namespace

int RunSetVerb(TCliContext& context, const std::vector<std::string>& args) {
  std::string newBaud = "9600";
  std::string digits = TodayAsYymmdd();
  const TCodePageTable codePages = ReadCodePages(*context.Profile);
  int32_t codePage = codePages.Names.empty() ? 0 : codePages.Values[0];
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--new-baud") {
      newBaud = OptionValue(args, i);
    } else if (arg == "--codepage") {
      const std::string name = OptionValue(args, i);
      size_t index = 0;
      while (index < codePages.Names.size() && !SameTextIgnoringCase(codePages.Names[index], name)) ++index;
      if (index == codePages.Names.size()) throw TUsageError("no code page named '" + name + "' in [CODEPAGE] of config.ini");
      codePage = codePages.Values[index];
    } else if (arg == "--codepage-value") {
      codePage = StrToInt(Trim(OptionValue(args, i)));
    } else if (arg == "--string") {
      digits = OptionValue(args, i);
      if (digits.size() > 6) throw TUsageError("--string takes at most six characters");
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
