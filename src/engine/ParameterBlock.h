// The 8 data bytes of the set-parameters request:
//   0-3 printer baud rate, big-endian | 4 code page | 5-7 six characters packed two per byte
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/Commands.h"

namespace printset {

using TParameterBlock = std::array<uint8_t, 8>;

// Two characters into one byte: the low four bits of each, the first in the high nibble.
// Digits give packed BCD; a blank gives 0.
uint8_t PackCharacters(char a, char b);

// The block's first four bytes: `rate`, high byte first. `block` holds at least four bytes.
void PutBlockBaudRate(uint8_t* block, uint32_t rate);

// `baudText` as in the baud box ("  9600": leading blanks allowed; anything else that is
// not a whole number throws TConvertError). `code page`: its low 8 bits are sent.
// `digits`: up to six characters, positions past its end read as blanks.
TParameterBlock BuildParameterBlock(const std::string& baudText, int32_t codePageValue,
                                    const std::string& digits);

}  // namespace printset
