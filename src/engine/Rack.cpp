#include "engine/Rack.h"

#include <chrono>
#include <set>
#include <stdexcept>

namespace printset {

std::string RackTraceFileName(const std::string& portName) {
  std::string name = "debug-";
  for (char c : portName) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                      c == '_' || c == '-';
    name += kept ? c : '-';
  }
  // "/dev/ttyUSB0" would otherwise give "debug--dev-...".
  while (name.size() > 6 && name[6] == '-') name.erase(6, 1);
  return name + ".log";
}

// One printer's owner: its port, the shared settings, and events into the rack's queue.
class TRack::THost : public TJobHost {
 public:
  THost(TRack& rack, size_t index, std::string port, const TRackSettings& settings, std::string tracePath)
      : Rack(rack), Index(index), Port(std::move(port)), Settings(settings), Trace(std::move(tracePath)) {
    Udp.Host = settings.UdpHost;
    Udp.Port = settings.UdpPort;
  }
  std::string PortName() override { return Port; }
  int32_t PortBaudRate() override { return Settings.BaudRate; }
  TPortMap PortMap() override { return Settings.Ports; }
  std::string ProgramFolder() override { return Settings.Folder; }
  std::string TraceFilePath() override { return Trace; }
  TUdpEndpoint& UdpClient() override { return Udp; }
  void PostMessage(uint32_t message, int32_t wParam, int32_t lParam) override {
    Rack.Post({Index, message, wParam, lParam});
  }
  void ShowStatusText(const std::string&) override {}

  const std::string& Name() const { return Port; }
  const std::string& TracePath() const { return Trace; }

 private:
  TRack& Rack;
  size_t Index;
  std::string Port;
  const TRackSettings& Settings;
  std::string Trace;
  TUdpEndpoint Udp;
};

struct TRack::TPrinter {
  std::unique_ptr<THost> Host;
  std::unique_ptr<TCommThread> Thread;
  std::chrono::steady_clock::time_point Started{};
  double Seconds = 0;
};

TRack::TRack(const std::vector<std::string>& ports, const TRackSettings& settings) : Settings(settings) {
  std::set<std::string> seen;
  std::set<std::string> traceNames;
  for (size_t i = 0; i < ports.size(); ++i) {
    if (!seen.insert(ports[i]).second) throw std::invalid_argument("the port " + ports[i] + " is given twice");
    std::string name = ports.size() == 1 ? std::string(kTraceFileName) : RackTraceFileName(ports[i]);
    // Two names that differ only in characters that were replaced still get files of their own.
    if (!traceNames.insert(name).second) name = name.substr(0, name.size() - 4) + "-" + std::to_string(i + 1) + ".log";
    traceNames.insert(name);
    auto printer = std::make_unique<TPrinter>();
    printer->Host = std::make_unique<THost>(*this, i, ports[i], Settings, Settings.Folder + name);
    printer->Thread = std::make_unique<TCommThread>(*printer->Host);
    Printers.push_back(std::move(printer));
  }
}

TRack::~TRack() {
  // The workers go first: they post into the queue and read the hosts.
  for (auto& printer : Printers) printer->Thread.reset();
}

const std::string& TRack::PortName(size_t i) const { return Printers.at(i)->Host->Name(); }
const std::string& TRack::TracePath(size_t i) const { return Printers.at(i)->Host->TracePath(); }
TCommThread& TRack::Thread(size_t i) { return *Printers.at(i)->Thread; }
double TRack::Seconds(size_t i) const { return Printers.at(i)->Seconds; }

void TRack::Post(const TEvent& event) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    Events.push_back(event);
  }
  Arrived.notify_one();
}

void TRack::Run(uint8_t jobCode, const std::function<void(size_t, int32_t, int32_t)>& progress,
                const std::function<void(size_t)>& finished) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    Events.clear();
  }
  size_t running = 0;
  for (size_t i = 0; i < Printers.size(); ++i) {
    Printers[i]->Started = std::chrono::steady_clock::now();
    if (!Printers[i]->Thread->StartJob(jobCode)) throw std::logic_error("a rack job started while one runs");
    ++running;
  }
  while (running > 0) {
    TEvent event{};
    {
      std::unique_lock<std::mutex> lock(Mutex);
      Arrived.wait(lock, [this] { return !Events.empty(); });
      event = Events.front();
      Events.pop_front();
    }
    TPrinter& printer = *Printers[event.Printer];
    if (event.Message == kMessageProgress) {
      if (progress) progress(event.Printer, event.Done, event.Total);
      continue;
    }
    if (event.Message != kMessageJobFinished) continue;
    // The finish message follows JobDone; consuming the signal keeps the event honest.
    printer.Thread->JobDone.Wait(0);
    printer.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - printer.Started).count();
    --running;
    if (finished) finished(event.Printer);
  }
}

void TRack::RequestStop() {
  for (auto& printer : Printers) printer->Thread->RequestStop();
}

}  // namespace printset
