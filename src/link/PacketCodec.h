// Packet layout shared by both directions of the printer link:
//   0 start 0x03 | 1 direction | 2-3 command | 4-7 argument | 8-9 data length N
//   10 header check (XOR of 0..9) | 11 data check (XOR of the data) | 12.. data
// All multi-byte fields are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printset {

constexpr uint8_t kStartByte = 0x03;
constexpr uint8_t kDirectionRequest = 0xFF;  // host to printer
constexpr uint8_t kDirectionReply = 0xFE;    // printer to host
constexpr int kHeaderSize = 12;
constexpr int kRequestBufferSize = 1024;
constexpr int kMaxRequestData = kRequestBufferSize - kHeaderSize;  // 1012
constexpr int kReceiveBufferSize = 2048;
constexpr int kHuntLimit = 2000;  // the receiver gives up past this many bytes taken in

// The XOR of `count` bytes (0 for none).
uint8_t XorBytes(const uint8_t* bytes, size_t count);

// Little-endian numbers in packets: written to and read from `at`.
void PutLe16(uint8_t* at, uint16_t value);
void PutLe32(uint8_t* at, uint32_t value);
uint16_t GetLe16(const uint8_t* at);
uint32_t GetLe32(const uint8_t* at);

// Builds one complete packet (header, checks, data) into `out`, replacing its content.
void BuildPacket(uint8_t direction, uint16_t command, uint32_t argument, const uint8_t* data,
                 size_t count, std::vector<uint8_t>& out);

inline std::vector<uint8_t> BuildRequest(uint16_t command, uint32_t argument, const uint8_t* data,
                                         size_t count) {
  std::vector<uint8_t> out;
  BuildPacket(kDirectionRequest, command, argument, data, count, out);
  return out;
}

// A parsed header; `Valid` is set when the start byte, the given direction and the
// header check all hold.
struct TPacketHeader {
  bool Valid = false;
  uint8_t Direction = 0;
  uint16_t Command = 0;
  uint32_t Argument = 0;
  uint16_t Length = 0;
  uint8_t DataCheck = 0;
};

TPacketHeader ParseHeader(const uint8_t* header12, uint8_t direction);

// True when the data check byte and the data XOR to zero.
bool DataCheckHolds(uint8_t dataCheck, const uint8_t* data, size_t count);

}  // namespace printset
