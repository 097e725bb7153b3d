#include "frontend/SetRequest.h"

#include "base/LocalTime.h"
#include "engine/Commands.h"
#include "engine/ParameterBlock.h"
#include "frontend/RequestMaker.h"
#include "link/NetworkPort.h"
#include "link/PortNames.h"

namespace printset {

TChecked<TRequest> SetRequest(const TSetInput& input, const TCodePageTable& table, const std::string& configPath) {
  const bool keepFoundRate = input.KeepFoundRate && !input.NewRateText;
  // Over UDP no rate is found, and the printer's serial rate is not known.
  if (keepFoundRate)
    for (const std::string& port : input.Ports)
      if (ParseNetworkPortName(port).IsNetwork)
        return TRefusal{TRefusalKind::Usage,
                        "set with --baud auto over UDP (" + PrintablePortName(port) +
                            ") needs --new-baud: the printer's serial rate is not found over UDP",
                        {}};
  const TChecked<int32_t> rate = CheckBaudRate(
      input.NewRateText ? *input.NewRateText : std::to_string(input.NewRate), input.NewRateField);
  if (!rate) return rate.Refusal();

  int32_t codePage = DefaultCodePage(table);
  if (input.CodePageEntry) codePage = CodePageOfEntry(table, *input.CodePageEntry);
  if (input.CodePageName) {
    const TChecked<int32_t> named = CodePageByName(table, *input.CodePageName, configPath);
    if (!named) return named.Refusal();
    codePage = *named;
  }
  if (input.CodePageValueText) {
    const TChecked<int32_t> value = CodePageByValue(*input.CodePageValueText);
    if (!value) return value.Refusal();
    codePage = *value;
  }
  const TChecked<std::string> digits = CheckSetString(input.String.value_or(TodayAsYymmdd()), input.FrontEnd);
  if (!digits) return digits.Refusal();

  const TParameterBlock block = BuildParameterBlock(std::to_string(*rate), codePage, *digits);
  std::vector<uint8_t> bytes(block.begin(), block.end());
  TJob job = keepFoundRate ? TJob::SetParametersKeepingRate(std::move(bytes), kCommandSetParameters, 0)
                           : TJob::SetParameters(std::move(bytes), kCommandSetParameters, 0);
  return TRequestMaker::Make("set", std::move(job), block.size(), {}, {}, keepFoundRate ? 0 : *rate);
}

}  // namespace printset
