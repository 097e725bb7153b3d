#include "link/PacketCodec.h"

namespace printset {

uint8_t XorBytes(const uint8_t* bytes, size_t count) {
  uint8_t x = 0;
  for (size_t i = 0; i < count; ++i) x ^= bytes[i];
  return x;
}

void PutLe16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLe32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t GetLe16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t GetLe32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
         (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

void BuildPacket(uint8_t direction, uint16_t command, uint32_t argument, const uint8_t* data,
                 size_t count, std::vector<uint8_t>& out) {
  out.assign(kHeaderSize + count, 0);
  out[0] = kStartByte;
  out[1] = direction;
  PutLe16(&out[2], command);
  PutLe32(&out[4], argument);
  PutLe16(&out[8], static_cast<uint16_t>(count));
  out[10] = XorBytes(out.data(), 10);
  for (size_t i = 0; i < count; ++i) out[kHeaderSize + i] = data[i];
  out[11] = XorBytes(data, count);
}

TPacketHeader ParseHeader(const uint8_t* h, uint8_t direction) {
  TPacketHeader header;
  header.Direction = h[1];
  header.Command = GetLe16(h + 2);
  header.Argument = GetLe32(h + 4);
  header.Length = GetLe16(h + 8);
  header.DataCheck = h[11];
  header.Valid = h[0] == kStartByte && h[1] == direction && XorBytes(h, 11) == 0;
  return header;
}

bool DataCheckHolds(uint8_t dataCheck, const uint8_t* data, size_t count) {
  return (dataCheck ^ XorBytes(data, count)) == 0;
}

}  // namespace printset
