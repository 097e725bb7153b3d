// The printer at the far end of the tests that run on Linux and, in the Windows build,
// under Wine. On Linux it is an in-process simulated printer on a pty. Under Wine it is
// one printer of a native `printer-sim --count N --dump-dir DIR` that run-tests.sh
// started, mapped to a COM port (PRINTSET_TEST_PRINTER_COM, _COUNT, _DUMP); what it
// received is read back from its dump files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace printset {

// One request as the printer took it in.
struct TPrinterRecord {
  uint16_t Command = 0;
  uint32_t Argument = 0;
  size_t Length = 0;  // data bytes
  bool Answered = false;
  bool operator==(const TPrinterRecord&) const = default;
};

class TTestPrinter {
 public:
  TTestPrinter();  // a fresh printer that answers everything; throws std::runtime_error when none can be had
  ~TTestPrinter();
  TTestPrinter(const TTestPrinter&) = delete;
  TTestPrinter& operator=(const TTestPrinter&) = delete;

  // The port name the host opens.
  const std::string& PortName() const { return Name; }
  // Every request so far, in order. Call only while the host has the port closed: under
  // Wine the printer is first asked to write out its records.
  std::vector<TPrinterRecord> Requests();
  // What the printer holds (read after Requests()).
  std::vector<uint8_t> FirmwareImage();
  std::vector<uint8_t> ParameterBlock();
  // `count` bytes of download memory from `address`; bytes never written read as 0xFF.
  std::vector<uint8_t> DownloadRange(uint32_t address, size_t count);

 private:
  struct TPeer;
  std::unique_ptr<TPeer> Peer;
  std::string Name;
};

}  // namespace printset
