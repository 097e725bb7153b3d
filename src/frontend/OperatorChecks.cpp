#include "frontend/OperatorChecks.h"

#include <cctype>
#include <cstdint>

#include "base/Numbers.h"
#include "base/Text.h"
#include "settings/BaudRates.h"

namespace printset {

namespace {

constexpr uint64_t kMaxCodePage = 255;  // one byte of the parameter block
constexpr size_t kStringPositions = 6;  // the window's mask: six digits or blanks
// Entries named in the window's refusal; a longer list is cut there and its length given.
constexpr size_t kMostEntriesNamed = 20;

TRefusal Usage(std::string text) { return {TRefusalKind::Usage, std::move(text), {}}; }

// The names as the operator would type them, quoted, in file order.
std::string JoinNames(const std::vector<std::string>& names, size_t most) {
  std::string list;
  for (size_t i = 0; i < names.size() && i < most; ++i) list += (list.empty() ? "'" : ", '") + names[i] + "'";
  if (names.size() > most) list += ", ... (" + std::to_string(names.size()) + " entries)";
  return list;
}

}  // namespace

TChecked<int32_t> CheckBaudRate(const std::string& text, TRateField field) {
  if (field == TRateField::WindowBox) {
    const std::string typed = Trim(text);
    int32_t rate = 0;
    if (!ParseDecimal(typed, rate)) return Usage("'" + typed + "' is not a valid integer value");
    if (!IsBaudRate(rate))
      return Usage("'" + typed + "' is not a baud rate of the printer; choose one of " + BaudRateListText());
    return rate;
  }
  uint64_t rate = 0;
  if (ParseNumber(text, INT32_MAX, rate) && IsBaudRate(static_cast<int64_t>(rate))) return static_cast<int32_t>(rate);
  if (field == TRateField::BaudOption)
    return Usage("--baud takes one of " + BaudRateListText() + " or auto, not '" + text + "'");
  return Usage("--new-baud takes one of " + BaudRateListText() + ", not '" + text + "'");
}

TChecked<int32_t> CodePageByName(const TCodePageTable& table, const std::string& name, const std::string& configPath) {
  for (size_t i = 0; i < table.Names.size(); ++i)
    if (SameTextIgnoringCase(table.Names[i], name)) return table.Values[i];
  if (table.Names.empty())
    return Usage("no code page named '" + name + "': " + configPath +
                 " has no [CODEPAGE] section (printset-cli codepages --add adds the sample's)");
  return Usage("no code page named '" + name + "' in [CODEPAGE] of config.ini; it has " +
               JoinNames(table.Names, SIZE_MAX));
}

TChecked<int> CodePageEntry(const std::vector<std::string>& entries, int current, const std::string& text) {
  if (entries.empty()) return -1;
  const std::string typed = Trim(text);
  // The current entry first: two entries may share a name but not their numbers.
  if (current >= 0 && static_cast<size_t>(current) < entries.size() && Trim(entries[current]) == typed) return current;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i] == typed) return static_cast<int>(i);
  return Usage("'" + typed + "' is not a code page of the list; choose one of " + JoinNames(entries, kMostEntriesNamed));
}

int32_t CodePageOfEntry(const TCodePageTable& table, int entry) {
  return entry >= 0 && static_cast<size_t>(entry) < table.Names.size() ? table.Values[static_cast<size_t>(entry)] : 0;
}

TChecked<int32_t> CodePageByValue(const std::string& text) {
  uint64_t value = 0;
  if (!ParseNumber(text, kMaxCodePage, value))
    return Usage("--codepage-value takes a number from 0 to 255, not '" + text + "'");
  return static_cast<int32_t>(value);
}

int32_t DefaultCodePage(const TCodePageTable& table) { return table.Names.empty() ? 0 : table.Values[0]; }

TChecked<std::string> CheckSetString(const std::string& text, TReasonFrontEnd frontEnd) {
  const bool window = frontEnd == TReasonFrontEnd::Window;
  if (text.size() > kStringPositions)
    return Usage(window ? "'" + text + "' is longer than six characters" : "--string takes at most six characters");
  for (const char c : text)
    if (c != ' ' && !std::isdigit(static_cast<unsigned char>(c)))
      return Usage(window ? "'" + text + "' holds other than digits and blanks" : "--string takes digits and blanks only");
  return text;
}

}  // namespace printset
