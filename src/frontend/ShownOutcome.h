// What a front end shows when an operation or a rate search has ended: the title, the
// lines beneath it, the sound, whether the search is offered, and the rate the printer
// now listens at. Decided here once; a window only shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Job.h"

namespace printset {

constexpr const char* kOkSound = "ok.wav";
constexpr const char* kErrorSound = "error.wav";
// The extra button of an ERROR box that offers to search the other rates.
constexpr const char* kSearchRatesButton = "Search other rates";

struct TShownOutcome {
  std::string Title;      // "OK", "ERROR" or "Printer found at N baud"
  std::string Reason;     // beneath the title: why it failed, or what changed; may be empty
  // Lines beneath the reason about what went wrong besides the operation: "the trace
  // could not be saved: PATH: REASON", the station record not written.
  std::vector<std::string> Notes;
  std::string Sound;      // kOkSound or kErrorSound, found beside the program's files
  // The ERROR box offers kSearchRatesButton: nothing answered identify on a serial line
  // that works, so the printer may listen at another rate.
  bool OfferSearch = false;
  // The rate the printer listens at from now on, for the link rate box at the top (SET
  // moved it, or the search found it); 0 when it is the rate the operation used.
  int32_t PrinterRate = 0;

  // Reason and Notes, a line each, as the box shows them beneath the title.
  std::string Beneath() const;
};

// The outcome of an operation run on `target`; `newBaudRate` is the rate SET moves the
// printer to (0 for the other operations). Never fails.
TShownOutcome OperationOutcome(const TJobOutcome& outcome, const TLinkTarget& target, int32_t newBaudRate = 0);

// The outcome of the search of every rate on `target`, offered after an operation the
// printer did not answer. Never fails.
TShownOutcome SearchOutcome(const TJobOutcome& outcome, const TLinkTarget& target);

// The station record's warnings ("warning: ..." lines) as notes beneath an outcome.
// Never fails.
std::vector<std::string> RecordWarningNotes(const std::string& warnings);

}  // namespace printset
