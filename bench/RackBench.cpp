#include "RackBench.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include "BenchClock.h"
#include "ExternalPrinter.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "sim/DemoImage.h"

namespace printset {

namespace {

constexpr size_t kRackImageSize = 64 * 1024;
constexpr int kRackSizes[] = {1, 4, 16, 32};
constexpr int32_t kRackOpeningRate = 9600;
constexpr double kRackGoalPercent = 97.0;

struct TRackRun {
  int Printers = 0;
  double Wall = 0;         // StartJob on all .. the last Finished call
  double Cpu = 0;          // this process, user + system, over the same span
  double Slowest = 0;      // the longest single printer's job within the rack
  int Failed = 0;
};

TRackRun ProgramRack(const std::string& printerSim, const std::string& folder, int printers,
                     const std::vector<uint8_t>& image) {
  // All printers in one simulator process of their own, each paced as 8N1 at the rate
  // the tool sets on its line.
  TExternalPrinter sim;
  if (!sim.Start(printerSim, {"--pace", "--quiet", "--count", std::to_string(printers)}, -1, 1, printers))
    throw std::runtime_error(sim.Error());
  TRackSettings settings;
  settings.BaudRate = kRackOpeningRate;
  settings.Folder = folder;
  TRack rack(sim.DevicePaths(), settings);
  const TJob job = TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(image));

  TRackRun run;
  run.Printers = printers;
  const TSample start = SampleNow();
  rack.Run(job, nullptr, nullptr);
  const TSample end = SampleNow();
  run.Wall = end.Wall - start.Wall;
  run.Cpu = end.Cpu - start.Cpu;
  for (size_t i = 0; i < rack.Size(); ++i) {
    run.Slowest = std::max(run.Slowest, rack.Seconds(i));
    if (rack.Outcome(i).ResultCode != kResultOk) ++run.Failed;
  }
  return run;
}

}  // namespace

void RunRackBench(const std::string& printerSim, const std::string& folder) {
  const std::vector<uint8_t> image = MakeDemoFirmwareImage(kRackImageSize);
  std::printf("\n4. A rack: one job programs N printers at once (%zu-byte image each, paced 8N1 at 115200,\n"
              "   every printer of a size in one printer-sim process, the tool in this one)\n",
              image.size());
  std::printf("   %4s %8s %10s %9s %10s %13s %9s %6s\n", "N", "wall s", "bytes/s", "xN single", "goal",
              "cpu ms/prn/s", "wall/slow", "failed");
  std::fflush(stdout);
  double singleRate = 0;
  for (const int printers : kRackSizes) {
    const TRackRun run = ProgramRack(printerSim, folder, printers, image);
    const double rate = static_cast<double>(image.size()) * printers / run.Wall;
    if (printers == 1) singleRate = rate;
    const double share = 100.0 * rate / (singleRate * printers);
    const char* goal = printers == 16 ? (share >= kRackGoalPercent ? ">= 97 % met" : ">= 97 % MISSED") : "";
    std::printf("   %4d %8.2f %10.0f %8.1f%% %10s %13.2f %9.3f %6d\n", printers, run.Wall, rate, share, goal,
                run.Cpu * 1000.0 / (printers * run.Wall), run.Wall / run.Slowest, run.Failed);
    std::fflush(stdout);
  }
  std::printf("   (xN single: total payload rate against N times the 1-printer rate of this run;\n"
              "    cpu ms/prn/s: this process's processor time per printer per second of transfer;\n"
              "    wall/slow: the rack's wall time against its slowest printer's own job)\n");
}

}  // namespace printset
