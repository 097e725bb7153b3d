// Finds request packets (03 FF ...) in what the host sends, skipping anything else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace printset {

struct TParsedRequest {
  uint16_t Command = 0;
  uint32_t Argument = 0;
  std::vector<uint8_t> Data;
  bool HeaderCheckGood = true;
  bool DataCheckGood = true;
  size_t WireLength = 0;  // bytes the packet took on the line
};

class TRequestParser {
 public:
  void Feed(const uint8_t* bytes, size_t count);
  // The next packet found, complete or refused by its checks. A packet with a bad header
  // check cannot be trusted for its length, so only its start is dropped and the hunt
  // goes on from the next byte.
  std::optional<TParsedRequest> Next();
  // True while a packet has begun but not all of it has arrived.
  bool HasPartial() const { return !Pending.empty(); }
  // Gives up on a packet that will not be completed (the host went quiet mid-packet).
  void DropPartial();
  void Clear() { Pending.clear(); }

 private:
  std::vector<uint8_t> Pending;  // begins at a start byte, or is empty
};

}  // namespace printset
