// "set": the printer's new baud rate, code page and string.
#include "VerbJobs.h"
#include "frontend/SetRequest.h"
#include "settings/LogoSettings.h"

namespace printset {

TRequest SetJob(const TCliContext& context, const TCliOptions& options) {
  TSetInput input;
  input.NewRateText = options.NewBaud;
  input.NewRate = context.Rate.Rate;
  // Without --new-baud the printer keeps the rate it is being talked to at: with --baud
  // auto each printer's worker puts the rate it found that printer at into the block.
  input.KeepFoundRate = !context.Rate.SearchRates.empty();
  input.Ports = context.Ports;
  input.CodePageName = options.CodePage;
  input.CodePageValueText = options.CodePageValue;
  input.String = options.String;
  const TChecked<TRequest> request = SetRequest(input, ReadCodePages(*context.Profile), context.Profile->Path());
  if (!request) throw TUsageError(request.Refusal().Text);
  return *request;
}

int RunSetVerb(TCliContext& context) { return RunCliJob(context, SetJob(context, context.Options)); }

}  // namespace printset
