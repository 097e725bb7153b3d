// A serial line for link tests that play the printer's side byte by byte: the host opens
// SlavePath() with TMyUart, the test writes and reads the far end. On Linux the far end is
// the master of a pseudo-terminal of this process; in the Windows build (under Wine) it is
// a line of printset-line-relay, a native program holding a pty that Wine maps to a COM
// port, reached over loopback TCP (PRINTSET_TEST_LINE_COM, _PORT, _COUNT name the pool).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace printset {

class TPtyPair {
 public:
  TPtyPair();  // throws std::runtime_error when no line can be had
  ~TPtyPair();
  TPtyPair(const TPtyPair&) = delete;
  TPtyPair& operator=(const TPtyPair&) = delete;

  // The port name the host opens: a device path, or "COMn" on Windows.
  const std::string& SlavePath() const { return PortName; }

  void WriteToHost(const std::vector<uint8_t>& bytes);
  // What the host sent, until `count` bytes have come or `ms` have passed.
  std::vector<uint8_t> ReadFromHost(size_t count, int ms);
  // One whole request packet (its header says how much data follows); empty when none
  // is complete within `ms`.
  std::vector<uint8_t> ReadRequest(int ms);
  // The rate the host has set on the line, as the far end sees it; -1 when unknown.
  int32_t LineBaudRate() const;

 private:
  struct TFarEnd;
  std::unique_ptr<TFarEnd> FarEnd;
  std::string PortName;
};

}  // namespace printset
