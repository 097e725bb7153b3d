// The checks of what the operator types or picks for SET and the link: a rate, a code
// page (by name, by the window's list entry, or by value) and the six-character string.
// Each returns the value taken or a TRefusal of kind Usage (see Request.h) in the words
// of the front end that asked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/Request.h"
#include "settings/LogoSettings.h"

namespace printset {

// Where a rate was typed: the words of the refusal name it.
enum class TRateField {
  NewBaudOption,  // printset-cli's --new-baud (and NEWBAUD= of a recipe)
  BaudOption,     // printset-cli's --baud, which also takes "auto" (see LinkTarget.h)
  WindowBox,      // either BAUD RATE box of the window
};

// One of the printer's rates (kBaudRates). The options take decimal or 0x hex as typed;
// a box takes its text without surrounding blanks, in decimal. Refused: "--new-baud takes
// one of 4800, ..., 115200, not 'TEXT'"; in a box "'TEXT' is not a valid integer value"
// or "'TEXT' is not a baud rate of the printer; choose one of 4800, ...".
TChecked<int32_t> CheckBaudRate(const std::string& text, TRateField field);

// The value of the code page `name` (ASCII case aside) in `table`, the first of that
// name. Refused, naming `configPath` when the table is empty, else listing its names.
TChecked<int32_t> CodePageByName(const TCodePageTable& table, const std::string& name, const std::string& configPath);

// The window's CODE PAGE box: `entries` as it lists them, the entry it stands on
// (`current`, -1 for none) and the text it shows. The entry taken: `current` when the
// text, without surrounding blanks, is that entry's, else the first entry of that text;
// -1 when there are no entries at all (SET then sends code page 0). Text that is no
// entry is refused, naming the entries (the first 20, and how many there are).
TChecked<int> CodePageEntry(const std::vector<std::string>& entries, int current, const std::string& text);

// The value of `entry` (from CodePageEntry) in `table`: 0 for -1 or an entry past it.
int32_t CodePageOfEntry(const TCodePageTable& table, int entry);

// The value typed for --codepage-value: a number from 0 to 255 (decimal or 0x hex).
TChecked<int32_t> CodePageByValue(const std::string& text);

// The first code page of `table`, 0 when it has none: SET's code page when none is chosen.
int32_t DefaultCodePage(const TCodePageTable& table);

// The string SET sends: at most six characters, each a digit or a blank (positions past
// its end are sent as blanks). Refused in the words of `frontEnd`.
TChecked<std::string> CheckSetString(const std::string& text, TReasonFrontEnd frontEnd);

}  // namespace printset
