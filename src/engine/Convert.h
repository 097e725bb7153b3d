// Text from the operator into numbers and names: the window's boxes, the front end's
// arguments and the download list.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace printset {

class TConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Leading blanks are skipped; then an optional sign and decimal digits up to the end.
// Anything else, or a value outside 32 bits, throws TConvertError with the text
// "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);

// Decimal digits, or "0x"/"0X" and hexadecimal digits, and nothing else (no sign, no
// blanks). False, `value` unchanged, on any other text or a value above `max`.
bool ParseNumber(std::string_view text, uint64_t max, uint64_t& value);

// Equal apart from the case of ASCII letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

std::string Trim(const std::string& text);

}  // namespace printset
