// Decimal text to a 32-bit integer, as the operator's boxes and the download list hold it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace printset {

class TConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Leading blanks are skipped; then an optional sign and decimal digits up to the end.
// Anything else, or a value outside 32 bits, throws TConvertError with the text
// "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);

std::string Trim(const std::string& text);

}  // namespace printset
