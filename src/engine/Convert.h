// Numbers typed by the operator into the window's boxes, as the window reads them: a
// text that is no number is an error the operator sees in a box.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace printset {

class TConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// As ParseDecimal reads it; anything else throws TConvertError with the text
// "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);

}  // namespace printset
