// Several printers at once: the same job on every one, one worker each, each with its
// own trace file. A printer that fails never holds up or stops the others.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/CommThread.h"
#include "engine/JobObserver.h"

namespace printset {

// What every printer of a rack shares.
struct TRackSettings {
  int32_t BaudRate = 9600;
  std::string Folder;  // ends with a separator; the trace files go here
  TPortMap Ports;
  TUdpAddress Network;  // for the plain "TCP/IP" port name
  // Rates tried in turn where a printer does not answer identify at BaudRate; each
  // printer's job then runs at the rate it answered at.
  std::vector<int32_t> SearchRates;
  // Sees each trace line of printer i as its worker writes it, on that worker's thread:
  // it must be safe to call from every worker at once. Empty: none.
  std::function<void(size_t i, const std::string& line)> TraceObserver;
  // Where not empty, one rate per port: the rate printer i is talked to at first, in
  // place of BaudRate (a printer whose rate an earlier operation found or set).
  std::vector<int32_t> PortRates;
};

// "debug-<port>.log": the port name with every character outside letters, digits, '.',
// '_' and '-' turned into '-' (e.g. "/dev/ttyUSB0" gives "debug-dev-ttyUSB0.log").
std::string RackTraceFileName(const std::string& portName);

// The trace file names of a rack's ports, in their order, all different even where the
// file system ignores case: RackTraceFileName where no other port of the rack gets the
// same name; where several would, each of them has "-N" added before ".log", N being
// its position in the rack (from 1), or the next number whose name no other port takes.
std::vector<std::string> RackTraceFileNames(const std::vector<std::string>& ports);

// The system would not start a worker for every printer of a rack (its thread limit);
// nothing was sent to any printer.
class TRackStartError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TRack {
 public:
  // One worker per port, every one of them started before the constructor returns, so
  // that Run never lacks one once the first printer has been sent something. The ports
  // must differ from each other (std::invalid_argument); TRackStartError when the system
  // refuses a worker (no job has run then).
  TRack(const std::vector<std::string>& ports, const TRackSettings& settings);
  ~TRack();
  TRack(const TRack&) = delete;
  TRack& operator=(const TRack&) = delete;

  // How many printers, and printer i's port name and trace file as given (i < Size()).
  size_t Size() const { return Printers.size(); }
  const std::string& PortName(size_t i) const;
  const std::string& TracePath(size_t i) const;
  // How printer i's job ended; read after Run.
  TJobOutcome Outcome(size_t i) const;
  // Lets other programs open every serial port the rack holds. Safe from any thread.
  void ReleaseLines();
  // Seconds printer i took, from the start of its job to its end.
  double Seconds(size_t i) const;

  // Starts the job on every printer and returns once all have ended. On the calling
  // thread, `progress(i, done, total)` reports transfer progress, `status(i, text)` the
  // worker's status text (e.g. "DOWNLOAD logo.bin") and `finished(i)` each printer's end,
  // in the order they end. Any of them may be empty.
  void Run(const TJob& job, const std::function<void(size_t, int32_t, int32_t)>& progress,
           const std::function<void(size_t)>& finished,
           const std::function<void(size_t, const std::string&)>& status = {});
  // Asks every running job to stop before its next request. Safe from any thread.
  void RequestStop();

 private:
  // What a worker told the rack, queued for Run's thread.
  enum class TEventKind { Progress, StatusText, Finished };
  struct TEvent {
    size_t Printer = 0;
    TEventKind Kind = TEventKind::Progress;
    int32_t Done = 0;
    int32_t Total = 0;
    std::string Text;
    TJobOutcome Outcome;  // Finished only
  };
  class TObserver;
  struct TPrinter;

  void Post(const TEvent& event);
  // The next event of the queue, waiting for one.
  TEvent NextEvent();
  // Starts every worker, parked until the job; TRackStartError when one cannot start.
  void StartWorkers();

  const TRackSettings Settings;
  std::vector<std::unique_ptr<TPrinter>> Printers;
  std::mutex Mutex;
  std::condition_variable Arrived;
  std::deque<TEvent> Events;
};

}  // namespace printset
