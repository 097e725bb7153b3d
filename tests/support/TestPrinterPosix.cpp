#include "TestPrinter.h"

#include <stdexcept>

#include "sim/SimPrinter.h"

namespace printset {

struct TTestPrinter::TPeer {
  TSimPrinter Sim;
};

TTestPrinter::TTestPrinter() : Peer(std::make_unique<TPeer>()) {
  if (!Peer->Sim.StartPty()) throw std::runtime_error("cannot start the simulated printer: " + Peer->Sim.LastError());
  Name = Peer->Sim.DevicePath();
}

TTestPrinter::~TTestPrinter() { Peer->Sim.Stop(); }

std::vector<TPrinterRecord> TTestPrinter::Requests() {
  std::vector<TPrinterRecord> records;
  for (const auto& request : Peer->Sim.Requests())
    records.push_back({request.Command, request.Argument, request.Data.size(), request.Answered});
  return records;
}

std::vector<uint8_t> TTestPrinter::FirmwareImage() { return Peer->Sim.FirmwareImage(); }

std::vector<uint8_t> TTestPrinter::ParameterBlock() { return Peer->Sim.ParameterBlock(); }

std::vector<uint8_t> TTestPrinter::DownloadRange(uint32_t address, size_t count) {
  return Peer->Sim.DownloadRange(address, count);
}

}  // namespace printset
