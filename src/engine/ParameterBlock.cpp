#include "engine/ParameterBlock.h"

#include "engine/Convert.h"

namespace printset {

uint8_t PackCharacters(char a, char b) {
  return static_cast<uint8_t>(((static_cast<uint8_t>(a) & 0x0F) << 4) | (static_cast<uint8_t>(b) & 0x0F));
}

void PutBlockBaudRate(uint8_t* block, uint32_t rate) {
  block[0] = static_cast<uint8_t>(rate >> 24);
  block[1] = static_cast<uint8_t>(rate >> 16);
  block[2] = static_cast<uint8_t>(rate >> 8);
  block[3] = static_cast<uint8_t>(rate);
}

TParameterBlock BuildParameterBlock(const std::string& baudText, int32_t codePageValue,
                                    const std::string& digits) {
  const uint32_t baud = static_cast<uint32_t>(StrToInt(baudText));
  const std::string text = digits + "      ";
  TParameterBlock block{};
  PutBlockBaudRate(block.data(), baud);
  block[4] = static_cast<uint8_t>(codePageValue);
  block[5] = PackCharacters(text[0], text[1]);
  block[6] = PackCharacters(text[2], text[3]);
  block[7] = PackCharacters(text[4], text[5]);
  return block;
}

}  // namespace printset
