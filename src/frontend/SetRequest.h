// SET: the parameter block (the printer's new rate, its code page and the six-character
// string) built from what the operator typed or picked.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frontend/OperatorChecks.h"
#include "frontend/Request.h"
#include "settings/LogoSettings.h"

namespace printset {

// What the operator chose for SET, as typed or picked; every field is checked by
// SetRequest.
struct TSetInput {
  TReasonFrontEnd FrontEnd = TReasonFrontEnd::CommandLine;
  // The new rate as typed, checked as NewRateField; without it, NewRate.
  std::optional<std::string> NewRateText;
  TRateField NewRateField = TRateField::NewBaudOption;
  int32_t NewRate = 0;
  // Without NewRateText: each printer keeps the rate it is found at (printset-cli's
  // --baud auto without --new-baud); the block carries NewRate until the worker puts
  // that rate in. Refused for a network port (Ports), where no rate is found.
  bool KeepFoundRate = false;
  std::vector<std::string> Ports;
  // The code page: by value (0 to 255, as typed) before by name before by the window's
  // list entry (an index into the table's names, -1 for none); none of them: the table's
  // first, or 0.
  std::optional<std::string> CodePageValueText;
  std::optional<std::string> CodePageName;
  std::optional<int> CodePageEntry;
  // Six digits or blanks; none: today as YYMMDD.
  std::optional<std::string> String;
};

// The SET request: operation "set", the 8-byte block with the set-parameters command,
// RateAfter the new rate (0 when each printer keeps its own). `table` and `configPath`
// are config.ini's [CODEPAGE] and its path, for the code page by name. Refusals are of
// kind Usage, in the words of input.FrontEnd, checked in the order rate, code page,
// string.
TChecked<TRequest> SetRequest(const TSetInput& input, const TCodePageTable& table, const std::string& configPath);

}  // namespace printset
