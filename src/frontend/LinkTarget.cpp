#include "frontend/LinkTarget.h"

#include "base/Text.h"
#include "frontend/OperatorChecks.h"
#include "frontend/RequestMaker.h"
#include "settings/BaudRates.h"

namespace printset {

namespace {

// --baud auto: find the rate each printer listens at.
constexpr const char* kAutoBaud = "auto";

}  // namespace

std::string PortNameOf(const std::string& typed) { return Trim(typed); }

TChecked<TLinkRate> LinkRateFromText(const std::optional<std::string>& text) {
  const std::string baud = text ? Trim(*text) : std::string();
  if (SameTextIgnoringCase(baud, kAutoBaud)) return SearchingEveryRate({kDefaultBaudRate, {}});
  if (baud.empty()) return TLinkRate{kDefaultBaudRate, {}};
  // The rate goes to the printer (set without --new-baud) and to the port: only a rate
  // the printer can be set to is taken. The refusal quotes the option as typed.
  const TChecked<int32_t> rate = CheckBaudRate(baud, TRateField::BaudOption);
  if (!rate) return TRefusal{TRefusalKind::Usage,
                             "--baud takes one of " + BaudRateListText() + " or auto, not '" + *text + "'", {}};
  return TLinkRate{*rate, {}};
}

TLinkTarget PrinterTarget(const std::string& portName, const TLinkRate& rate, const TLinkSettings& link) {
  TLinkTarget target;
  target.PortName = PortNameOf(portName);
  target.BaudRate = rate.Rate;
  target.PortMap = link.PortMap;
  target.Network = {link.NetworkHost, link.NetworkPort};
  target.SearchRates = rate.SearchRates;
  return target;
}

TRackSettings RackTarget(const TLinkRate& rate, const TLinkSettings& link, const std::string& stateFolder) {
  TRackSettings settings;
  settings.BaudRate = rate.Rate;
  settings.Folder = stateFolder;
  settings.Ports = link.PortMap;
  settings.Network = {link.NetworkHost, link.NetworkPort};
  settings.SearchRates = rate.SearchRates;
  return settings;
}

TRequest RateSearchRequest() { return TRequestMaker::Make("detect", TJob::IdentifyPrinter(), 0); }

TLinkRate SearchingEveryRate(TLinkRate rate) {
  rate.SearchRates.assign(kBaudRates.begin(), kBaudRates.end());
  return rate;
}

}  // namespace printset
