// Reply packets as the simulated printer sends them, flaws included on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

namespace printset {

struct TReplyFlaws {
  bool BadHeaderCheck = false;
  bool BadDataCheck = false;  // only where the reply carries data
  int StrayBytes = 0;         // noise before the start byte; never contains 0x03
};

// A reply packet (03 FE, the given command and argument, `data`) with `flaws` applied,
// built with the link's own packet builder.
std::vector<uint8_t> BuildFlawedReply(uint16_t command, uint32_t argument, const std::vector<uint8_t>& data,
                                      const TReplyFlaws& flaws = {});

// What can be made to go wrong in the simulated printer, all switchable while it runs.
struct TSimFaults {
  std::set<uint16_t> NoReplyCommands;  // requests with these commands are never answered
  int IgnoreFirst = 0;                 // the next N valid requests go unanswered
  bool BadHeaderCheck = false;
  bool BadDataCheck = false;
  int StrayBytes = 0;
  int DelayMs = 0;          // before each reply
  int OversizeLength = 0;   // when > 0, every reply carries this many data bytes
  int LateDuplicateMs = -1; // when >= 0, the next reply is sent once more this much later
};

}  // namespace printset
