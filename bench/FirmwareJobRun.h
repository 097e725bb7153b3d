// One firmware job (job 5) through the real worker, with what the benchmark needs to
// know about its timing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchHost.h"
#include "engine/CommThread.h"

namespace printset {

struct TJobRun {
  uint8_t Result = 0xFF;
  bool Finished = false;
  TSample Start;  // StartJob
  TSample End;    // the job's Finished call seen
  TProgressMarks Progress;
};

// Hands `image` to `thread` and waits for the job to end.
TJobRun RunFirmwareJob(TCommThread& thread, TBenchHost& host, const std::vector<uint8_t>& image);

// Block requests answered between the first and the last progress message: the first
// message follows block 0, so this is one fewer than the blocks sent.
int BlocksBetweenProgress(const TProgressMarks& marks);

// Seconds per block in each interval between two progress messages (the messages are
// throttled, so an interval spans a few blocks); its median shows the typical block
// with the scheduling hiccups of a busy machine left out.
std::vector<double> SecondsPerBlockBetweenProgress(const TProgressMarks& marks);

}  // namespace printset
