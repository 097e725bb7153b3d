// A pseudo-terminal for link tests that play the printer's side byte by byte: the host
// opens SlavePath() with TMyUart, the test writes and reads the master.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/Pty.h"

namespace printset {

class TPtyPair {
 public:
  TPtyPair();  // throws std::runtime_error when no pty can be had
  ~TPtyPair();
  TPtyPair(const TPtyPair&) = delete;
  TPtyPair& operator=(const TPtyPair&) = delete;

  int MasterFd() const { return Handles.MasterFd; }
  const std::string& SlavePath() const { return Handles.SlavePath; }

  void WriteToHost(const std::vector<uint8_t>& bytes);
  // What the host sent, until `count` bytes have come or `ms` have passed.
  std::vector<uint8_t> ReadFromHost(size_t count, int ms);
  // One whole request packet (its header says how much data follows); empty when none
  // is complete within `ms`.
  std::vector<uint8_t> ReadRequest(int ms);
  // The rate the host has set on the line.
  int32_t LineBaudRate() const { return ReadLineBaudRate(Handles.MasterFd); }

 private:
  TPtyHandles Handles;
};

}  // namespace printset
