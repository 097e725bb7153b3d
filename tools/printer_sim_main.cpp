// printer-sim: a simulated printer on a pseudo-terminal or UDP, until SIGINT or SIGTERM.
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/FileIo.h"
#include "sim/DemoImage.h"
#include "sim/SimDump.h"
#include "sim/SimOptions.h"
#include "sim/SimPrinter.h"
#include "printset/Version.h"

using namespace printset;

namespace {

void Dump(const TSimPrinter& printer, const std::string& folder) {
  std::string error;
  if (!WriteSimDump(printer, folder, &error)) std::fprintf(stderr, "printer-sim: dump: %s\n", error.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  // The bare name, so that --help reads the same wherever the program was started from
  // (its manual page is made from that text).
  const std::string program =
      argc > 0 && argv[0][0] != '\0' ? std::filesystem::path(argv[0]).filename().string() : "printer-sim";
  TSimOptions options;
  std::string error;
  if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
    std::fprintf(stderr, "printer-sim: %s\n%s", error.c_str(), SimUsage(program).c_str());
    return 2;
  }
  if (options.Help) {
    std::fputs(SimUsage(program).c_str(), stdout);
    return 0;
  }
  if (options.Version) {
    std::fputs(VersionLine("printer-sim").c_str(), stdout);
    return 0;
  }
  if (!options.MakeImagePath.empty()) {
    const std::vector<uint8_t> image = MakeDemoFirmwareImage(options.MakeImageSize);
    std::string error;
    if (WriteFileAtomically(options.MakeImagePath, image.data(), image.size(), error)) return 0;
    std::fprintf(stderr, "%s: cannot create file \"%s\": %s\n", program.c_str(), options.MakeImagePath.c_str(),
                 error.c_str());
    return 1;
  }

  // Blocked before any thread starts, so every thread inherits the mask and the signals
  // reach only the signalfd.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) return 1;
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
  if (signalFd < 0) {
    std::perror("printer-sim: signalfd");
    return 1;
  }

  // Each printer is its own object with its own line; faults and pacing apply to all.
  std::vector<std::unique_ptr<TSimPrinter>> printers;
  const bool several = options.Count > 1;
  for (int i = 0; i < options.Count; ++i) {
    auto printer = std::make_unique<TSimPrinter>();
    if (!options.Identity.empty()) printer->SetIdentity(options.Identity);
    printer->SetFaults(options.Faults);
    printer->SetPacing(options.Pace);
    if (!options.Rates.empty())
      printer->SetListeningRate(options.Rates[std::min(static_cast<size_t>(i), options.Rates.size() - 1)]);
    const std::string prefix = several ? std::to_string(i + 1) + ": " : "";
    if (!options.Quiet)
      printer->OnRequest([prefix](const TSimRequest&, const std::string& line) {
        std::fprintf(stderr, "%s%s\n", prefix.c_str(), line.c_str());
      });
    const std::string dumpDir =
        options.DumpDir.empty() || !several ? options.DumpDir : options.DumpDir + "/printer-" + std::to_string(i + 1);
    if (!dumpDir.empty()) {
      std::error_code ignored;  // a folder that cannot be made shows in the first dump
      std::filesystem::create_directories(dumpDir, ignored);
      TSimPrinter* raw = printer.get();
      printer->OnModeChange([raw, dumpDir](TSimMode) { Dump(*raw, dumpDir); });
    }
    const uint16_t udpPort = options.UdpPort == 0 ? 0 : static_cast<uint16_t>(options.UdpPort + i);
    const bool started = options.Udp ? printer->StartUdp(udpPort) : printer->StartPty();
    if (!started) {
      std::fprintf(stderr, "printer-sim: %s\n", printer->LastError().c_str());
      return 1;
    }
    if (options.Udp) std::printf("TCP/IP:127.0.0.1:%u\n", static_cast<unsigned>(printer->UdpPort()));
    else std::printf("%s\n", printer->DevicePath().c_str());
    printers.push_back(std::move(printer));
  }
  std::fflush(stdout);

  signalfd_siginfo info{};
  while (::read(signalFd, &info, sizeof info) < 0 && errno == EINTR) {
  }
  for (size_t i = 0; i < printers.size(); ++i) {
    printers[i]->Stop();
    if (!options.DumpDir.empty())
      Dump(*printers[i], several ? options.DumpDir + "/printer-" + std::to_string(i + 1) : options.DumpDir);
  }
  ::close(signalFd);
  return 0;
}
