#include "DetectBench.h"

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BenchClock.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "settings/BaudRates.h"
#include "sim/SimPrinter.h"

namespace printset {

namespace {

constexpr int kRackPorts = 16;
constexpr int kSilentPorts = 8;
constexpr int kRounds = 3;  // the best of these is reported

struct TDetectRun {
  double Wall = 0;
  int Found = 0;
};

// One detect on printers listening at `rates` (kSimDeaf: silent), as printset-cli does it.
TDetectRun Detect(const std::string& folder, const std::vector<int32_t>& rates) {
  std::vector<std::unique_ptr<TSimPrinter>> sims;
  std::vector<std::string> ports;
  for (const int32_t rate : rates) {
    sims.push_back(std::make_unique<TSimPrinter>());
    if (!sims.back()->StartPty()) throw std::runtime_error("simulator: " + sims.back()->LastError());
    sims.back()->SetListeningRate(rate);
    ports.push_back(sims.back()->DevicePath());
  }
  TRackSettings settings;
  settings.BaudRate = kDefaultBaudRate;
  settings.Folder = folder;
  settings.SearchRates.assign(kBaudRates.begin(), kBaudRates.end());
  TRack rack(ports, settings);
  TDetectRun run;
  const double start = WallSeconds();
  rack.Run(TJob::IdentifyPrinter(), nullptr, nullptr);
  run.Wall = WallSeconds() - start;
  for (size_t i = 0; i < rack.Size(); ++i) run.Found += rack.Outcome(i).ResultCode == kResultOk;
  return run;
}

double BestWall(const std::string& folder, const std::vector<int32_t>& rates, int expectFound) {
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    const TDetectRun run = Detect(folder, rates);
    if (run.Found != expectFound)
      throw std::runtime_error("detect found " + std::to_string(run.Found) + " printers, not " +
                               std::to_string(expectFound));
    if (round == 0 || run.Wall < best) best = run.Wall;
  }
  return best;
}

}  // namespace

void RunDetectBench(const std::string& folder) {
  std::printf("\n5. Finding a printer: detect (identify only) from %d baud, then the other rates,\n"
              "   in-process printers on ptys, best of %d rounds\n", kDefaultBaudRate, kRounds);
  std::printf("   %-62s %9s %7s\n", "", "ms", "ratio");
  std::fflush(stdout);
  const double reference = BestWall(folder, {kDefaultBaudRate}, 1);
  std::printf("   %-62s %9.1f %7.2f\n", "reference: printer at 9600, found at the first identify", reference * 1e3, 1.0);
  for (const int32_t rate : kBaudRates) {
    if (rate == kDefaultBaudRate) continue;
    char label[80];
    std::snprintf(label, sizeof label, "printer at %d", rate);
    const double wall = BestWall(folder, {rate}, 1);
    std::printf("   %-62s %9.1f %7.2f\n", label, wall * 1e3, wall / reference);
  }
  const double silent = BestWall(folder, {kSimDeaf}, 0);
  std::printf("   %-62s %9.1f %7.2f\n", "silent port: every rate tried", silent * 1e3, silent / reference);
  std::vector<int32_t> rack;
  for (int i = 0; i < kRackPorts; ++i)
    rack.push_back(i < kSilentPorts ? kSimDeaf : kBaudRates[static_cast<size_t>(i) % kBaudRates.size()]);
  const double wall = BestWall(folder, rack, kRackPorts - kSilentPorts);
  char label[80];
  std::snprintf(label, sizeof label, "rack of %d ports, %d silent (x silent port alone)", kRackPorts, kSilentPorts);
  std::printf("   %-62s %9.1f %7.2f\n", label, wall * 1e3, wall / silent);
  std::fflush(stdout);
}

}  // namespace printset
