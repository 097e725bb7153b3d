// Reply packets as the simulated printer sends them, flaws included on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
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

// What one particular request meets, on top of the standing faults.
struct TSimStep {
  int DelayMs = 0;         // the reply leaves this much later
  bool Drop = false;       // lost: no reply, no effect
  int DuplicateMs = -1;    // when >= 0, the reply is sent once more this much later
  bool Vanish = false;     // this and every later request are lost (the printer is gone)
  bool StallLine = false;  // the line stops taking the host's bytes (pty only); no reply
  // The line hangs up for good (pty only), as when a USB adapter is pulled out: no reply,
  // and the host's reads and writes fail from then on.
  bool HangUp = false;
  int OversizeLength = 0;  // when > 0, the reply carries this many data bytes
};

// How a reply names its request: by echoing its command and argument, as the printer
// does; by its command with argument 0; or by one fixed header whatever was asked.
enum class TSimHeaders { Echo, CommandOnly, Fixed };

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
  // Steps keyed by the request's index: 0 is the first request taken in since the start
  // or the last ClearRecords.
  std::map<size_t, TSimStep> Script;
  // UDP only: a request that goes unanswered is answered instead from another port, as a
  // foreign host on the network could.
  bool ForeignReplies = false;
  TSimHeaders Headers = TSimHeaders::Echo;
  uint16_t FixedCommand = 0;   // the header of every reply with TSimHeaders::Fixed
  uint32_t FixedArgument = 0;
};

}  // namespace printset
