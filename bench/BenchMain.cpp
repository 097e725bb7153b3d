// printset-bench: a 256 KiB firmware transfer through the real worker against the
// simulated printer on a pty. Every figure is a ratio against a reference taken in the
// same run; nothing here passes or fails.
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "BareExchange.h"
#include "BenchClock.h"
#include "BenchHost.h"
#include "ExternalPrinter.h"
#include "FirmwareJobRun.h"
#include "DetectBench.h"
#include "RackBench.h"
#ifdef PRINTSET_BENCH_LOGOS
#include <QApplication>

#include "LogoBench.h"
#endif
#include "engine/CommThread.h"
#include "engine/Commands.h"
#include "engine/FirmwareImage.h"
#include "engine/ResultCodes.h"
#include "report/ResultText.h"
#include "sim/DemoImage.h"
#include "sim/SimPrinter.h"

using namespace printset;

namespace {

constexpr size_t kImageSize = 256 * 1024;
constexpr int kRepeats = 5;  // unpaced figures are the best of this many rounds: noise only adds
constexpr size_t kPacedBareBlocks = 128;
constexpr int32_t kLineRate = 115200;
// The paced job opens at the printer's own starting rate and switches, as in use: the
// simulated printer paces at the rate it was last told, 9600 until a switch.
constexpr int32_t kOpeningRate = 9600;
constexpr double kParkSeconds = 1.0;
constexpr unsigned long kTightTimerSlackNs = 1;
constexpr double kRateGoalPercent = 97.0;
// 8N1: ten bit times per byte; a block exchange is a 268-byte request and a 12-byte reply.
constexpr double kBitsPerByte = 10.0;
constexpr double kExchangeWireBytes = kBlockSize + 12 + 12;

#ifdef PRINTSET_PRINTER_SIM
constexpr const char* kPrinterSimProgram = PRINTSET_PRINTER_SIM;
#else
constexpr const char* kPrinterSimProgram = "printer-sim";
#endif

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Best(const std::vector<double>& values) { return *std::min_element(values.begin(), values.end()); }

void Require(bool condition, const std::string& what) {
  if (!condition) throw std::runtime_error(what);
}

void RequireJob(const TJobRun& run, const char* what) {
  Require(run.Finished, std::string(what) + ": the job did not finish");
  Require(run.Result == kResultOk, std::string(what) + ": ResultCode " + std::to_string(run.Result) + " (" +
                                       ResultCodeMeaning(run.Result) + ")");
}

// When the in-process printer saw the first block request and the end-of-programming
// request arrive: the span between them holds every block exchange of the job.
struct TBlockPhase {
  std::mutex Mutex;
  int Blocks = 0;
  double FirstBlock = 0;
  double EndOfProgramming = 0;
};

// Where the paced runs take place. On a virtual machine a wake-up that crosses
// processors can cost hundreds of microseconds (an interrupt to a halted virtual CPU), and
// which wake-ups cross is the scheduler's choice, so the same job swings by several per
// cent from run to run. With this process and the printer on one processor the figures
// hold still; one reference row shows what crossing costs.
struct TPlacement {
  int Home = -1;   // this thread, and what it starts: the worker and printer-sim
  int Other = -1;  // another processor we may use; -1 when there is none
};

TPlacement PinToOneCpu() {
  TPlacement placement;
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (::sched_getaffinity(0, sizeof allowed, &allowed) != 0) return placement;
  const int current = ::sched_getcpu();
  if (current >= 0 && CPU_ISSET(current, &allowed)) placement.Home = current;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
    if (!CPU_ISSET(cpu, &allowed)) continue;
    if (placement.Home < 0) placement.Home = cpu;
    else if (cpu != placement.Home && placement.Other < 0) placement.Other = cpu;
  }
  if (placement.Home < 0) return placement;
  cpu_set_t only;
  CPU_ZERO(&only);
  CPU_SET(placement.Home, &only);
  // The calling thread only; threads and processes started from it inherit the mask.
  if (::sched_setaffinity(0, sizeof only, &only) != 0) placement = TPlacement{};
  return placement;
}

// Processor ms per second of this process while the calling thread sleeps.
double CpuWhileSleeping(double seconds) {
  const TSample start = SampleNow();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  return CpuMsPerSecond(start, SampleNow());
}

// The 1, 5 and 15 minute load averages: the paced figures suffer on a busy machine.
std::string LoadAverage() {
  double one = 0, five = 0, fifteen = 0;
  std::FILE* file = std::fopen("/proc/loadavg", "r");
  if (!file) return "?";
  const int got = std::fscanf(file, "%lf %lf %lf", &one, &five, &fifteen);
  std::fclose(file);
  if (got != 3) return "?";
  char text[48];
  std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
  return text;
}

struct TMeasured {
  double LoopPeerUs = 0;
  double PrinterPeerUs = 0;
  double JobInProcessUs = 0;
  double JobOwnProcessUs = 0;
  double UnpacedCpuMsPerS = 0;
  double UnpacedCpuUsPerBlock = 0;
  double WireLimit = 0;
  double PacedBareRate = 0;
  double PacedBareTypicalRate = 0;
  double PacedBareTightRate = 0;
  double PacedBareTightTypicalRate = 0;
  double PacedBareAcrossRate = 0;
  double PacedBareCpuMsPerS = 0;
  double PacedBareCpuUsPerBlock = 0;
  double PacedJobRate = 0;
  double PacedJobTypicalRate = 0;
  int PacedJobBlocks = 0;
  double PacedJobSeconds = 0;
  double PacedBlockCpuMsPerS = 0;
  double PacedBlockCpuUsPerBlock = 0;
  double PacedWholeCpuMsPerS = 0;
  double IdleCpuMsPerS = 0;
  double ParkedCpuMsPerS = 0;
};

// A folder under /tmp for trace files, removed with its content at the end of the scope.
struct TScratchFolder {
  TScratchFolder() {
    char pattern[] = "/tmp/printset-bench-XXXXXX";
    Require(::mkdtemp(pattern) != nullptr, "no scratch folder");
    Path = std::string(pattern) + "/";
  }
  ~TScratchFolder() {
    std::error_code ignored;  // a folder left behind in /tmp harms nothing
    std::filesystem::remove_all(Path, ignored);
  }
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  std::string Path;  // ends with '/'
};

// Only the logo figures: the firmware and rack parts take most of a minute.
int RunLogosOnly() {
#ifdef PRINTSET_BENCH_LOGOS
  const TScratchFolder scratch;
  const std::string& folder = scratch.Path;
  RunLogoBench(folder);
  return 0;
#else
  std::fprintf(stderr, "printset-bench: built without the window, so without the logo figures\n");
  return 1;
#endif
}

int Run() {
  const double runStart = WallSeconds();
  const std::vector<uint8_t> image = MakeDemoFirmwareImage(kImageSize);
  Require(IsValidFirmwareImage(image.data(), image.size()), "the generated image is not valid");
  const std::vector<std::vector<uint8_t>> requests = BlockRequests(image);
  const int blocks = static_cast<int>(requests.size());
  const std::vector<std::vector<uint8_t>> pacedRequests(requests.begin(), requests.begin() + kPacedBareBlocks);

  const TScratchFolder scratch;
  const std::string& folder = scratch.Path;

  std::printf("printset-bench: firmware job 5, %zu-byte image = %d blocks of %d bytes, pty; %u cpus, load %s\n",
              image.size(), blocks, kBlockSize, std::thread::hardware_concurrency(), LoadAverage().c_str());
  std::fflush(stdout);
  TMeasured m;

  // 3, the reference: this process sleeping before any worker exists.
  m.IdleCpuMsPerS = CpuWhileSleeping(kParkSeconds);

  // 1. The printer answers at once: what the host spends per block. The four are taken
  // in turn, round after round, so that a busy spell of the machine hits them alike.
  std::vector<double> loopPeer, printerPeer, jobInProcess, jobOwnProcess, cpuMsPerS, cpuUsPerBlock;
  for (int round = 0; round < kRepeats; ++round) {
    {
      const TExchangeRun run = ExchangeWithLoopPeer(requests);
      Require(run.Failures == 0, "bare exchanges with the loop peer failed");
      loopPeer.push_back(run.Seconds * 1e6 / run.Blocks);
    }
    {
      TSimPrinter printer;
      Require(printer.StartPty(), "simulator: " + printer.LastError());
      const TExchangeRun run = ExchangeWithPrinter(printer.DevicePath(), requests);
      Require(run.Failures == 0, "bare exchanges with the simulator failed");
      printerPeer.push_back(run.Seconds * 1e6 / run.Blocks);
    }
    {
      TSimPrinter printer;
      TBlockPhase phase;
      printer.OnRequest([&phase](const TSimRequest& request, const std::string&) {
        const double now = WallSeconds();
        std::lock_guard<std::mutex> lock(phase.Mutex);
        if (request.Command == kCommandFirmwareBlock && phase.Blocks++ == 0) phase.FirstBlock = now;
        if (request.Command == kCommandMode && request.Argument == kEndOfProgramming) phase.EndOfProgramming = now;
      });
      Require(printer.StartPty(), "simulator: " + printer.LastError());
      TBenchHost host(printer.DevicePath(), kLineRate, folder);
      TCommThread thread(host);
      RequireJob(RunFirmwareJob(thread, host, image), "unpaced job, in-process printer");
      std::lock_guard<std::mutex> lock(phase.Mutex);
      Require(phase.Blocks == blocks, "the printer saw " + std::to_string(phase.Blocks) + " blocks");
      jobInProcess.push_back((phase.EndOfProgramming - phase.FirstBlock) * 1e6 / phase.Blocks);
    }
    {
      TExternalPrinter printer;
      Require(printer.Start(kPrinterSimProgram, {"--quiet"}), printer.Error());
      TBenchHost host(printer.DevicePath(), kLineRate, folder);
      TCommThread thread(host);
      const TJobRun run = RunFirmwareJob(thread, host, image);
      RequireJob(run, "unpaced job, printer-sim process");
      const TProgressMarks& p = run.Progress;
      const int between = BlocksBetweenProgress(p);
      jobOwnProcess.push_back((p.Last.Wall - p.First.Wall) * 1e6 / between);
      cpuMsPerS.push_back(CpuMsPerSecond(p.First, p.Last));
      cpuUsPerBlock.push_back((p.Last.Cpu - p.First.Cpu) * 1e6 / between);
    }
  }
  m.LoopPeerUs = Best(loopPeer);
  m.PrinterPeerUs = Best(printerPeer);
  m.JobInProcessUs = Best(jobInProcess);
  {
    // The processor figures are taken from the same run as the best time.
    const size_t best = static_cast<size_t>(std::min_element(jobOwnProcess.begin(), jobOwnProcess.end()) -
                                            jobOwnProcess.begin());
    m.JobOwnProcessUs = jobOwnProcess[best];
    m.UnpacedCpuMsPerS = cpuMsPerS[best];
    m.UnpacedCpuUsPerBlock = cpuUsPerBlock[best];
  }

  // 2. The printer paces the line as 8N1 at 115200.
  m.WireLimit = kBlockSize * kLineRate / (kExchangeWireBytes * kBitsPerByte);
  const TPlacement placement = PinToOneCpu();
  {
    TExternalPrinter printer;
    Require(printer.Start(kPrinterSimProgram, {"--quiet", "--pace"}), printer.Error());
    const TExchangeRun run = ExchangeWithPrinter(printer.DevicePath(), pacedRequests);
    Require(run.Failures == 0, "bare exchanges with the pacing simulator failed");
    m.PacedBareRate = run.Blocks * kBlockSize / run.Seconds;
    m.PacedBareTypicalRate = kBlockSize / Median(run.ExchangeSeconds);
    m.PacedBareCpuMsPerS = run.CpuSeconds * 1000.0 / run.Seconds;
    m.PacedBareCpuUsPerBlock = run.CpuSeconds * 1e6 / run.Blocks;
  }
  {
    // The printer's own sleeps end late by the timer slack and the machine's wake-up time;
    // with the slack taken away, the share of the gap that is the printer's shows.
    TExternalPrinter printer;
    Require(printer.Start(kPrinterSimProgram, {"--quiet", "--pace"}, -1, kTightTimerSlackNs), printer.Error());
    const TExchangeRun run = ExchangeWithPrinter(printer.DevicePath(), pacedRequests);
    Require(run.Failures == 0, "bare exchanges with the pacing simulator failed");
    m.PacedBareTightRate = run.Blocks * kBlockSize / run.Seconds;
    m.PacedBareTightTypicalRate = kBlockSize / Median(run.ExchangeSeconds);
  }
  if (placement.Home >= 0 && placement.Other >= 0) {
    TExternalPrinter printer;
    Require(printer.Start(kPrinterSimProgram, {"--quiet", "--pace"}, placement.Other), printer.Error());
    const TExchangeRun run = ExchangeWithPrinter(printer.DevicePath(), pacedRequests);
    Require(run.Failures == 0, "bare exchanges with the pacing simulator failed");
    m.PacedBareAcrossRate = run.Blocks * kBlockSize / run.Seconds;
  }
  {
    TExternalPrinter printer;
    Require(printer.Start(kPrinterSimProgram, {"--quiet", "--pace"}), printer.Error());
    TBenchHost host(printer.DevicePath(), kOpeningRate, folder);
    TCommThread thread(host);
    const TJobRun run = RunFirmwareJob(thread, host, image);
    RequireJob(run, "paced job");
    const TProgressMarks& p = run.Progress;
    m.PacedJobBlocks = BlocksBetweenProgress(p);
    m.PacedJobRate = (p.LastDone - p.FirstDone) / (p.Last.Wall - p.First.Wall);
    m.PacedJobTypicalRate = kBlockSize / Median(SecondsPerBlockBetweenProgress(p));
    m.PacedJobSeconds = run.End.Wall - run.Start.Wall;
    m.PacedBlockCpuMsPerS = CpuMsPerSecond(p.First, p.Last);
    m.PacedBlockCpuUsPerBlock = (p.Last.Cpu - p.First.Cpu) * 1e6 / m.PacedJobBlocks;
    m.PacedWholeCpuMsPerS = CpuMsPerSecond(run.Start, run.End);

    // 3. The worker parked after its job, the printer still running in its own process.
    m.ParkedCpuMsPerS = CpuWhileSleeping(kParkSeconds);
  }

  const double pacedJobPercent = m.PacedJobRate * 100.0 / m.WireLimit;
  std::printf("\n1. Host time per block, printer answering at once (pacing off), best of %d rounds\n", kRepeats);
  std::printf("   %-62s %9s %7s\n", "", "us/block", "ratio");
  std::printf("   %-62s %9.1f %7.2f\n", "reference: write 268 B + read 12 B on the pty, loop peer", m.LoopPeerUs, 1.0);
  std::printf("   %-62s %9.1f %7.2f\n", "reference: the same, printer-sim (in-process) as the peer", m.PrinterPeerUs,
              m.PrinterPeerUs / m.LoopPeerUs);
  std::printf("   %-62s %9.1f %7.2f\n", "job 5, in-process printer (its arrivals: 1st 0x2E .. end 0x2F)",
              m.JobInProcessUs, m.JobInProcessUs / m.LoopPeerUs);
  std::printf("   %-62s %9.1f %7.2f\n", "job 5, printer-sim process (progress: first .. last message)",
              m.JobOwnProcessUs, m.JobOwnProcessUs / m.LoopPeerUs);
  std::printf("   host overhead of the worker over a bare exchange with the same printer: %.1f us/block (x%.2f)\n",
              m.JobInProcessUs - m.PrinterPeerUs, m.JobInProcessUs / m.PrinterPeerUs);

  const double wireUs = 1e6 * kBlockSize / m.WireLimit;
  const auto rateRow = [&](const char* label, double rate, const char* note) {
    std::printf("   %-62s %9.0f %8.2f %% %7.0f%s\n", label, rate, rate * 100.0 / m.WireLimit, 1e6 * kBlockSize / rate - wireUs,
                note);
  };
  std::printf("\n2. Payload rate, printer-sim --pace: 8N1 at %d baud (the job opens at %d and switches)\n", kLineRate,
              kOpeningRate);
  if (placement.Home >= 0)
    std::printf("   (2 and 3: this process and printer-sim held on cpu %d; see the 'instead' row)\n", placement.Home);
  std::printf("   %-62s %9s %10s %7s\n", "", "bytes/s", "of limit", "+us/blk");
  char label[96];
  std::snprintf(label, sizeof label, "wire limit: 256 payload bytes per 280 on the line (%.0f us)", wireUs);
  rateRow(label, m.WireLimit, "");
  std::snprintf(label, sizeof label, "reference: bare exchanges, paced printer, %zu blocks", kPacedBareBlocks);
  rateRow(label, m.PacedBareRate, "");
  rateRow("  the same, median exchange", m.PacedBareTypicalRate, "");
  rateRow("  the same, printer-sim given 1 ns timer slack", m.PacedBareTightRate, "");
  rateRow("  the same, median exchange", m.PacedBareTightTypicalRate, "");
  if (m.PacedBareAcrossRate > 0) {
    std::snprintf(label, sizeof label, "  the same, printer-sim on cpu %d instead", placement.Other);
    rateRow(label, m.PacedBareAcrossRate, "");
  }
  char goal[48];
  std::snprintf(goal, sizeof goal, "  goal >= %.0f %%: %s", kRateGoalPercent, pacedJobPercent >= kRateGoalPercent ? "met" : "MISSED");
  std::snprintf(label, sizeof label, "job 5, block phase (progress: first .. last, %d blocks)", m.PacedJobBlocks);
  rateRow(label, m.PacedJobRate, goal);
  rateRow("  the same, median between progress messages", m.PacedJobTypicalRate, "");
  std::printf("   whole job, StartJob .. Finished (open, identify, switch, mode, blocks, end): %.2f s\n",
              m.PacedJobSeconds);
  std::printf("   (+us/blk: time per block beyond its %.0f us on the wire; a median leaves out the stalls\n"
              "    of a busy machine, which the effective rate includes)\n",
              wireUs);

  std::printf("\n3. Processor time of this process (user + system; the printer runs in its own process)\n");
  std::printf("   %-62s %9s %7s\n", "", "ms/s", "us/blk");
  std::printf("   %-62s %9.1f %7.1f\n", "job 5 unpaced, block phase", m.UnpacedCpuMsPerS, m.UnpacedCpuUsPerBlock);
  std::printf("   %-62s %9.1f %7.1f\n", "reference: bare exchanges, paced printer", m.PacedBareCpuMsPerS,
              m.PacedBareCpuUsPerBlock);
  std::printf("   %-62s %9.1f %7.1f\n", "job 5 paced, block phase", m.PacedBlockCpuMsPerS, m.PacedBlockCpuUsPerBlock);
  std::printf("   %-62s %9.1f %7s\n", "job 5 paced, whole job", m.PacedWholeCpuMsPerS, "");
  std::snprintf(label, sizeof label, "reference: this process asleep before any worker, %.0f s", kParkSeconds);
  std::printf("   %-62s %9.2f %7s\n", label, m.IdleCpuMsPerS, "");
  std::snprintf(label, sizeof label, "worker parked after the paced job, %.0f s", kParkSeconds);
  std::printf("   %-62s %9.2f %7s\n", label, m.ParkedCpuMsPerS, "");
  RunRackBench(kPrinterSimProgram, folder);
  RunDetectBench(folder);
#ifdef PRINTSET_BENCH_LOGOS
  RunLogoBench(folder);
#endif
  std::printf("\n(%.0f s in all; load at the end %s)\n", WallSeconds() - runStart, LoadAverage().c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef PRINTSET_BENCH_LOGOS
  // The window runs offscreen unless a platform is asked for.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
#endif
  const bool logosOnly = argc > 1 && std::string(argv[1]) == "--logos";
  try {
    return logosOnly ? RunLogosOnly() : Run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "printset-bench: %s\n", error.what());
    return 1;
  }
}
