// printset-block-timing PORT [KIB]: programs a KIB KiB image (default 256) into the
// printer on PORT through the real worker and prints the wall time per 256-byte block.
// Against a printer that answers at once this is the host's own time per block. Built
// natively and for Windows, so that the same run can be made on Linux and under Wine.
#include <chrono>
#include <memory>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/CommThread.h"
#include "support/RecordingObserver.h"
#include "support/TestFiles.h"

using namespace printset;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: printset-block-timing PORT [KIB]\n");
    return 2;
  }
  const size_t kib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 256;
  const size_t size = kib * 1024;
  TRecordingObserver host;
  host.Folder = std::string(".") + "/";
  TCommThread thread(host);
  const TJob job = TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(ValidFirmwareImage(size)))
                       .At({argv[1], 9600, {}, {}, {}});
  const auto start = std::chrono::steady_clock::now();
  if (!thread.StartJob(job) || !host.WaitForFinished(1, std::chrono::seconds(600))) {
    std::fprintf(stderr, "the job did not run to its end\n");
    return 1;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const uint8_t result = host.LastOutcome().ResultCode;
  if (result != 0) {
    std::fprintf(stderr, "the job failed with result code %u\n", static_cast<unsigned>(result));
    return 1;
  }
  const size_t blocks = (size + kBlockSize - 1) / kBlockSize;
  std::printf("%zu blocks in %.3f s: %.0f us per block\n", blocks, seconds, seconds * 1e6 / static_cast<double>(blocks));
  return 0;
}
