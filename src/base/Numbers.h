// Numbers from text: the one parser of the program's numbers (settings, arguments, lists).
// Failure convention: false, the output left unchanged; nothing is thrown.
#pragma once

#include <cstdint>
#include <string_view>

namespace printset {

// Decimal digits, or "0x"/"0X" and hexadecimal digits, and nothing else (no sign, no
// blanks). False, `value` unchanged, on any other text or a value above `max`.
bool ParseNumber(std::string_view text, uint64_t max, uint64_t& value);

// Leading blanks and tabs, then an optional sign and decimal digits up to the end, within
// 32 bits. False, `value` unchanged, on anything else.
bool ParseDecimal(std::string_view text, int32_t& value);

}  // namespace printset
