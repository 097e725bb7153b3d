#include "engine/Convert.h"

#include "base/Numbers.h"

namespace printset {

int32_t StrToInt(const std::string& text) {
  int32_t value = 0;
  if (!ParseDecimal(text, value)) throw TConvertError("'" + text + "' is not a valid integer value");
  return value;
}

}  // namespace printset
