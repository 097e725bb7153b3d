// What the engine tests hand the worker and how they look inside it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/CommThread.h"
#include "engine/Commands.h"
#include "engine/Job.h"
#include "engine/ResultCodes.h"

namespace printset {

// The worker's private state and steps, for tests that drive the link session by hand or
// look at what the worker holds. Only the tests use it.
class TCommThreadProbe {
 public:
  explicit TCommThreadProbe(TCommThread& thread) : Thread(thread) {}
  void ReportProgress(const std::string& text, int32_t done, int32_t total, bool statusPanel) {
    Thread.ReportProgress(text, done, total, statusPanel);
  }
  TDateTime& LastProgressPost() { return Thread.LastProgressPost; }
  // Opens the link to `target` as a job for it would, while the worker is parked.
  bool OpenLink(const TLinkTarget& target) {
    Thread.TakeJob(TJob::IdentifyPrinter().At(target));
    return Thread.OpenLink();
  }
  bool SwitchBaudRate(int32_t rate) { return Thread.SwitchBaudRate(rate); }
  void CloseLink() { Thread.CloseLink(); }
  uint8_t ResultCode() const { return Thread.Outcome.ResultCode; }
  // The rate of the line the last job used; 0 before any job, and over UDP.
  int32_t LineBaudRate() const { return Thread.Line ? Thread.Line->BaudRate() : 0; }
  std::vector<std::string> TraceLines() const { return Thread.TraceLog.GetLines(); }

 private:
  TCommThread& Thread;
};

// The next job's inputs, set piece by piece as a test needs them.
struct TJobInputs {
  TLinkTarget Target;  // the printer: its port name, rate and network address
  std::vector<TDownloadEntry> Downloads;
  std::vector<uint8_t> Block;
  uint16_t BlockCommand = kCommandSetParameters;
  uint32_t BlockArgument = 0;
  std::vector<uint8_t> Image;

  // A file named in the list, read when its turn comes.
  void AddDownload(const std::string& path, const std::string& name, uint16_t command, uint32_t base) {
    Downloads.push_back({path, name, command, base, nullptr});
  }
  TJob Make(uint8_t code) const {
    switch (code) {
      case JobSetParameters: return TJob::SetParameters(Block, BlockCommand, BlockArgument).At(Target);
      case JobDownloadFiles: return TJob::DownloadFiles(Downloads).At(Target);
      case JobProgramFirmware:
        return TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(Image)).At(Target);
      case JobIdentifyPrinter: return TJob::IdentifyPrinter().At(Target);
      default: return TJob().At(Target);
    }
  }
};

}  // namespace printset
