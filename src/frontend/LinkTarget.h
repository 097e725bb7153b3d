// Which printer an operation is for and how it is reached: the port name as typed, the
// rate, [PORTS] and [NETWORK] of config.ini, the rates searched; and the rate search.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/Job.h"
#include "engine/Rack.h"
#include "frontend/Request.h"
#include "settings/LinkSettings.h"

namespace printset {

// A port name as typed: without the blanks around it, which are never part of a name
// and would be invisible in the message that the port could not be opened. Every
// operation of either front end takes its port names through here.
std::string PortNameOf(const std::string& typed);

// The rate a printer is first talked to at, and the rates tried in turn where it does
// not answer there (empty: none).
struct TLinkRate {
  int32_t Rate = 0;
  std::vector<int32_t> SearchRates;
};

// printset-cli's --baud, blanks around it dropped: none gives the default rate (9600);
// "auto" (letter case aside) that rate first, then every other rate; else one of the
// printer's rates. Refused as Usage: "--baud takes one of ... or auto, not 'TEXT'".
TChecked<TLinkRate> LinkRateFromText(const std::optional<std::string>& text);

// The printer at `portName` (taken through PortNameOf) at `rate`, its name resolved by
// link.PortMap, "TCP/IP" meaning link's network address. Never fails.
TLinkTarget PrinterTarget(const std::string& portName, const TLinkRate& rate, const TLinkSettings& link);

// What every printer of a rack shares: the rate and the rates searched, the trace
// folder `stateFolder`, [PORTS] and [NETWORK]. Never fails.
TRackSettings RackTarget(const TLinkRate& rate, const TLinkSettings& link, const std::string& stateFolder);

// The rate search: identify requests at the target's rate, then at every other rate of
// the printer (kBaudRates) until one answers; nothing in the printer changes. Operation
// "detect". Use it with SearchingEveryRate.
TRequest RateSearchRequest();

// `rate` searching every rate of the printer where it does not answer at rate.Rate.
TLinkRate SearchingEveryRate(TLinkRate rate);

}  // namespace printset
