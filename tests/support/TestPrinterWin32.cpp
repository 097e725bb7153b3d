#include "TestPrinter.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "PeerPool.h"
#include "base/FileIo.h"
#include "link/PacketLink.h"
#include "link/SerialTransport.h"
#include "link/TraceLog.h"
#include "link/UniUart.h"
#include "sim/SimPrinter.h"
#include "sim/SparseMemory.h"

namespace printset {

namespace {

// One of the files printer-sim wrote out; the test fails when it cannot be read.
std::vector<uint8_t> ReadDumpFile(const std::string& path) {
  constexpr uint64_t kLargestDump = uint64_t{64} << 20;
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadFileBounded(path, kLargestDump, bytes, reason)) throw std::runtime_error(path + ": " + reason);
  return bytes;
}

// printer-sim writes its records out after every mode request. This argument names no
// mode, so the printer's state stays as it was; its lines are left out of Requests().
constexpr uint32_t kWriteOutArgument = 0x7F7F7F7F;
constexpr uint32_t kWriteOutWaitMs = 2000;
constexpr int kWriteOutAttempts = 3;

}  // namespace

struct TTestPrinter::TPeer {
  std::string Folder;  // the dump folder of this printer, as Wine sees it

  // Asks for the write-out, then for the identity: the simulated printer serves one
  // request after the other, so the second reply means the files are complete.
  void WriteOut(const std::string& portName) {
    TMyUart port;
    if (!port.Open(portName, kSimDefaultBaudRate)) throw std::runtime_error(portName + ": " + port.LastError());
    TTraceLog trace;
    TSerialTransport line(port);
    TPacketLink link(line, trace);
    uint8_t buffer[256] = {};
    if (link.Transact(kSimCommandMode, kWriteOutArgument, buffer, sizeof buffer - 1, 0, kWriteOutAttempts,
                      kWriteOutWaitMs) < 0 ||
        link.Transact(kSimCommandIdentify, 0, buffer, sizeof buffer - 1, 0, kWriteOutAttempts, kWriteOutWaitMs) < 0)
      throw std::runtime_error(portName + ": printer-sim did not answer the write-out");
  }

  std::vector<uint8_t> File(const std::string& name) const { return ReadDumpFile(Folder + "/" + name); }
};

TTestPrinter::TTestPrinter() : Peer(std::make_unique<TPeer>()) {
  const int index = NextPeer("PRINTSET_TEST_PRINTER_COUNT");
  Name = "COM" + std::to_string(std::stoi(PeerSetting("PRINTSET_TEST_PRINTER_COM")) + index);
  Peer->Folder = PeerSetting("PRINTSET_TEST_PRINTER_DUMP") + "/printer-" + std::to_string(index + 1);
}

TTestPrinter::~TTestPrinter() = default;

std::vector<TPrinterRecord> TTestPrinter::Requests() {
  Peer->WriteOut(Name);
  const std::vector<uint8_t> log = Peer->File("requests.log");
  std::istringstream lines(std::string(log.begin(), log.end()));
  std::vector<TPrinterRecord> records;
  std::string line;
  // "cmd=0x2E arg=0x00000100 len=256 answered", as SimLogLine writes it.
  while (std::getline(lines, line)) {
    unsigned command = 0;
    unsigned argument = 0;
    unsigned long long length = 0;
    int end = 0;
    if (std::sscanf(line.c_str(), "cmd=0x%x arg=0x%x len=%llu %n", &command, &argument, &length, &end) != 3)
      throw std::runtime_error("requests.log: cannot read \"" + line + "\"");
    TPrinterRecord record{static_cast<uint16_t>(command), argument, static_cast<size_t>(length),
                          line.compare(static_cast<size_t>(end), std::string::npos, "answered") == 0};
    if (record.Command == kSimCommandMode && record.Argument == kWriteOutArgument) continue;
    records.push_back(record);
  }
  return records;
}

std::vector<uint8_t> TTestPrinter::FirmwareImage() {
  Peer->WriteOut(Name);
  return Peer->File("firmware.bin");
}

std::vector<uint8_t> TTestPrinter::ParameterBlock() {
  Peer->WriteOut(Name);
  return Peer->File("params.bin");
}

std::vector<uint8_t> TTestPrinter::DownloadRange(uint32_t address, size_t count) {
  Peer->WriteOut(Name);
  // One file per contiguous region: download-<address as 8 hex digits>.bin.
  TSparseMemory memory;
  for (const auto& entry : std::filesystem::directory_iterator(Peer->Folder)) {
    const std::string name = entry.path().filename().string();
    unsigned long long start = 0;
    if (name.size() != 21 || std::sscanf(name.c_str(), "download-%8llx.bin", &start) != 1) continue;
    const std::vector<uint8_t> bytes = ReadDumpFile(entry.path().string());
    memory.Write(start, bytes.data(), bytes.size());
  }
  return memory.Read(address, count);
}

}  // namespace printset
