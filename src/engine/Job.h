// A job for the worker, handed over as a value: which job, the printer it is for, and its
// own data, read and checked before the link opens.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/JobOutcome.h"
#include "link/PortNames.h"
#include "link/UdpEndpoint.h"

namespace printset {

constexpr uint8_t JobDownloadFiles = 3;
constexpr uint8_t JobSetParameters = 4;
constexpr uint8_t JobProgramFirmware = 5;
constexpr uint8_t JobIdentifyPrinter = 6;

// Bytes read once and shared by every worker that sends them.
using TSharedBytes = std::shared_ptr<const std::vector<uint8_t>>;

// One file of a download: its bytes go to printer addresses Base, Base + 256, ... (wrapping
// at 32 bits) with request command Command.
struct TDownloadEntry {
  std::string Path;  // where the bytes came from; read when its turn comes if Bytes is null
  std::string Name;  // shown while it is sent; "-" skips the entry
  uint16_t Command = 0;
  uint32_t Base = 0;
  TSharedBytes Bytes;  // null: the file at Path, skipped when it is missing then
};

// Where a job's printer is and how it is reached.
struct TLinkTarget {
  std::string PortName;  // a serial port, "TCP/IP" or "TCP/IP:HOST[:PORT]"
  int32_t BaudRate = 9600;  // the rate the printer listens at; not used over UDP
  TPortMap PortMap;      // overrides of port names, e.g. COM1 -> /dev/ttyUSB0
  TUdpAddress Network;   // the printer's address for the port name "TCP/IP"
  // Rates tried in turn, one identify request each, when the printer does not answer
  // identify at BaudRate; the job then runs at the rate it answered at. Empty: BaudRate only.
  std::vector<int32_t> SearchRates;
};

class TJob {
 public:
  // The parameter request: `block` sent with `command` and `argument`.
  static TJob SetParameters(std::vector<uint8_t> block, uint16_t command, uint32_t argument);
  // The same, but the block's rate (its first four bytes) is the rate the printer answered
  // identify at, so that it keeps its rate; over a line without a rate (UDP) the block
  // goes as given.
  static TJob SetParametersKeepingRate(std::vector<uint8_t> block, uint16_t command, uint32_t argument);
  // The entries in order, each checked by its own request per block.
  static TJob DownloadFiles(std::vector<TDownloadEntry> entries);
  // A firmware image, already checked as valid.
  static TJob ProgramFirmware(TSharedBytes image);
  // Identify requests only (nothing is changed in the printer): whether a printer
  // answers, at which rate, and with which identity.
  static TJob IdentifyPrinter();

  // This job, for the printer at `target`.
  TJob At(TLinkTarget target) const;

  // What the worker reads of the job: which job, for which printer, and its data.
  uint8_t Code() const { return JobCode; }
  const TLinkTarget& Target() const { return Printer; }
  const std::vector<uint8_t>& Block() const { return Data; }
  uint16_t Command() const { return RequestCommand; }
  uint32_t Argument() const { return RequestArgument; }
  bool KeepsFoundRate() const { return FoundRateInBlock; }
  const std::vector<TDownloadEntry>& Entries() const { return Downloads; }
  const TSharedBytes& Image() const { return Firmware; }

 private:
  uint8_t JobCode = 0;
  TLinkTarget Printer;
  std::vector<uint8_t> Data;
  uint16_t RequestCommand = 0;
  uint32_t RequestArgument = 0;
  bool FoundRateInBlock = false;
  std::vector<TDownloadEntry> Downloads;
  TSharedBytes Firmware;
};

}  // namespace printset
