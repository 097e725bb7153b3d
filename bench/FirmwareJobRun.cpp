#include "FirmwareJobRun.h"

#include <memory>

namespace printset {

namespace {

// Only a guard against a hang: a paced 256 KiB job takes about 25 s.
constexpr uint32_t kJobLimitMs = 180000;

}  // namespace

TJobRun RunFirmwareJob(TCommThread& thread, TBenchHost& host, const std::vector<uint8_t>& image) {
  TJobRun run;
  const TJob job = TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(image)).At(host.Target());
  run.Start = SampleNow();
  if (!thread.StartJob(job)) return run;
  run.Finished = host.WaitForFinished(kJobLimitMs);
  run.End = SampleNow();
  run.Result = host.Outcome().ResultCode;
  // The last progress message goes out before the job's Finished call.
  run.Progress = host.Marks();
  return run;
}

int BlocksBetweenProgress(const TProgressMarks& marks) {
  return (marks.LastDone - marks.FirstDone + kBlockSize - 1) / kBlockSize;
}

std::vector<double> SecondsPerBlockBetweenProgress(const TProgressMarks& marks) {
  std::vector<double> perBlock;
  for (size_t i = 1; i < marks.Points.size(); ++i) {
    const double blocks = static_cast<double>(marks.Points[i].second - marks.Points[i - 1].second) / kBlockSize;
    if (blocks > 0) perBlock.push_back((marks.Points[i].first - marks.Points[i - 1].first) / blocks);
  }
  return perBlock;
}

}  // namespace printset
