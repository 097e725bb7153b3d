// What a result code means, in the words both front ends show.
#pragma once

#include <cstdint>

namespace printset {

// A short meaning for the operator, e.g. "no valid reply from the printer"; "unknown
// result" for a code no job ends with.
const char* ResultCodeMeaning(uint8_t code);

}  // namespace printset
