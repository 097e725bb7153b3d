#include "engine/Rack.h"

#include <cctype>
#include <chrono>
#include <map>
#include <set>
#include <stdexcept>
#include <system_error>

namespace printset {

namespace {

constexpr const char* kRackTracePrefix = "debug-";
constexpr const char* kRackTraceExtension = ".log";

// File names as a file system that ignores case compares them.
std::string Folded(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

std::string RackTraceFileName(const std::string& portName) {
  const std::string prefix = kRackTracePrefix;
  std::string name = prefix;
  for (char c : portName) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                      c == '_' || c == '-';
    name += kept ? c : '-';
  }
  // "/dev/ttyUSB0" would otherwise give "debug--dev-...".
  while (name.size() > prefix.size() && name[prefix.size()] == '-') name.erase(prefix.size(), 1);
  return name + kRackTraceExtension;
}

std::vector<std::string> RackTraceFileNames(const std::vector<std::string>& ports) {
  const std::string extension = kRackTraceExtension;
  std::vector<std::string> names;
  std::map<std::string, size_t> uses;
  for (const std::string& port : ports) {
    names.push_back(RackTraceFileName(port));
    ++uses[Folded(names.back())];
  }
  // The names that are a port's alone are kept first, so no suffix can take one of them.
  std::set<std::string> taken;
  for (const std::string& name : names)
    if (uses[Folded(name)] == 1) taken.insert(Folded(name));
  for (size_t i = 0; i < names.size(); ++i) {
    if (uses[Folded(names[i])] == 1) continue;
    const std::string stem = names[i].substr(0, names[i].size() - extension.size());
    for (size_t n = i + 1;; ++n) {
      const std::string candidate = stem + "-" + std::to_string(n) + extension;
      if (taken.insert(Folded(candidate)).second) {
        names[i] = candidate;
        break;
      }
    }
  }
  return names;
}

// One printer's owner: its port, its trace file, and events into the rack's queue.
class TRack::TObserver : public TJobObserver {
 public:
  TObserver(TRack& rack, size_t index, std::string port, std::string tracePath)
      : Rack(rack), Index(index), Port(std::move(port)), Trace(std::move(tracePath)) {}
  std::string TraceFilePath() override { return Trace; }
  void Progress(int32_t done, int32_t total) override {
    Rack.Post({Index, TEventKind::Progress, done, total, {}, {}});
  }
  void StatusText(const std::string& text) override { Rack.Post({Index, TEventKind::StatusText, 0, 0, text, {}}); }
  void Finished(const TJobOutcome& outcome) override { Rack.Post({Index, TEventKind::Finished, 0, 0, {}, outcome}); }

  const std::string& Name() const { return Port; }
  const std::string& TracePath() const { return Trace; }

 private:
  TRack& Rack;
  size_t Index;
  std::string Port;
  std::string Trace;
};

struct TRack::TPrinter {
  std::unique_ptr<TObserver> Observer;
  std::unique_ptr<TCommThread> Thread;
  TJobOutcome Outcome;  // of its last job, from its Finished call
  std::chrono::steady_clock::time_point Started{};
  double Seconds = 0;
};

TRack::TRack(const std::vector<std::string>& ports, const TRackSettings& settings) : Settings(settings) {
  std::set<std::string> seen;
  for (const std::string& port : ports)
    if (!seen.insert(port).second) throw std::invalid_argument("the port " + port + " is given twice");
  const std::vector<std::string> traceNames =
      ports.size() == 1 ? std::vector<std::string>{kTraceFileName} : RackTraceFileNames(ports);
  for (size_t i = 0; i < ports.size(); ++i) {
    auto printer = std::make_unique<TPrinter>();
    printer->Observer = std::make_unique<TObserver>(*this, i, ports[i], Settings.Folder + traceNames[i]);
    printer->Thread = std::make_unique<TCommThread>(*printer->Observer);
    if (Settings.TraceObserver) {
      const auto observer = Settings.TraceObserver;
      if (!printer->Thread->SetTraceObserver([observer, i](const std::string& line) { observer(i, line); }))
        throw std::logic_error("a new worker refused its trace observer");
    }
    Printers.push_back(std::move(printer));
  }
  StartWorkers();
}

void TRack::StartWorkers() {
  try {
    for (auto& printer : Printers) printer->Thread->StartWorker();
  } catch (const std::system_error& error) {
    // The destructor does not run for a constructor that throws: the workers that did
    // start are joined here, while the queue they would post into still exists.
    for (auto& printer : Printers) printer->Thread.reset();
    throw TRackStartError("could not start a worker for each of the " + std::to_string(Printers.size()) +
                          " printers: " + error.what());
  }
}

TRack::~TRack() {
  // The workers go first: they post into the queue and call the observers.
  for (auto& printer : Printers) printer->Thread.reset();
}

const std::string& TRack::PortName(size_t i) const { return Printers.at(i)->Observer->Name(); }
const std::string& TRack::TracePath(size_t i) const { return Printers.at(i)->Observer->TracePath(); }
TJobOutcome TRack::Outcome(size_t i) const { return Printers.at(i)->Outcome; }

void TRack::ReleaseLines() {
  for (auto& printer : Printers) printer->Thread->ReleaseLine();
}
double TRack::Seconds(size_t i) const { return Printers.at(i)->Seconds; }

void TRack::Post(const TEvent& event) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    Events.push_back(event);
  }
  Arrived.notify_one();
}

TRack::TEvent TRack::NextEvent() {
  std::unique_lock<std::mutex> lock(Mutex);
  Arrived.wait(lock, [this] { return !Events.empty(); });
  const TEvent event = Events.front();
  Events.pop_front();
  return event;
}

void TRack::Run(const TJob& job, const std::function<void(size_t, int32_t, int32_t)>& progress,
                const std::function<void(size_t)>& finished,
                const std::function<void(size_t, const std::string&)>& status) {
  {
    std::lock_guard<std::mutex> lock(Mutex);
    Events.clear();
  }
  size_t running = 0;
  for (size_t i = 0; i < Printers.size(); ++i) {
    Printers[i]->Started = std::chrono::steady_clock::now();
    const int32_t rate = i < Settings.PortRates.size() ? Settings.PortRates[i] : Settings.BaudRate;
    const TLinkTarget target{PortName(i), rate, Settings.Ports, Settings.Network, Settings.SearchRates};
    if (!Printers[i]->Thread->StartJob(job.At(target))) throw std::logic_error("a rack job started while one runs");
    ++running;
  }
  while (running > 0) {
    const TEvent event = NextEvent();
    TPrinter& printer = *Printers[event.Printer];
    if (event.Kind == TEventKind::Progress) {
      if (progress) progress(event.Printer, event.Done, event.Total);
      continue;
    }
    if (event.Kind == TEventKind::StatusText) {
      if (status) status(event.Printer, event.Text);
      continue;
    }
    printer.Outcome = event.Outcome;
    printer.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - printer.Started).count();
    --running;
    if (finished) finished(event.Printer);
  }
}

void TRack::RequestStop() {
  for (auto& printer : Printers) printer->Thread->RequestStop();
}

}  // namespace printset
