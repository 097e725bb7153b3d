// The job bodies. Each reads its job, opens the link, does its work and always closes
// the link; a failing step has set the result code and the rest is skipped.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/FileIo.h"
#include "engine/CommThread.h"
#include "engine/DataStream.h"
#include "engine/Commands.h"
#include "engine/ParameterBlock.h"
#include "engine/TransferLimits.h"
#include "engine/TransferRules.h"
#include "link/TraceFormat.h"

namespace printset {

namespace {

constexpr int kSetParametersAttempts = 3;
constexpr uint32_t kSetParametersTimeoutMs = 1000;
constexpr int kParamReplyCapacity = kParamBufferSize - 1;
constexpr int32_t kBlockRateBytes = 4;

constexpr int kDownloadBlockAttempts = 3;
constexpr int kDownloadReplyCapacity = kBlockBufferSize - 1;
constexpr const char* kSkippedEntryName = "-";

constexpr int kFirmwareBlockAttempts = 3;
constexpr int kFirmwareReplyCapacity = kBlockBufferSize;
constexpr uint8_t kFirmwareFill = 0xFF;
constexpr int kEndOfProgrammingAttempts = 1;
constexpr uint32_t kEndOfProgrammingTimeoutMs = 600;

}  // namespace

void TCommThread::RunIdentifyPrinter() {
  OpenLink();
  CloseLink();
}

void TCommThread::RunSetParameters() {
  const std::vector<uint8_t>& block = Job.Block();
  const int length = static_cast<int>(block.size());
  Outcome.BytesToSend = length;
  if (!OpenLink()) {
    CloseLink();
    return;
  }
  // The request goes out of this buffer and the reply comes back into it. A block longer
  // than a packet keeps its length, so that the link refuses it as too long.
  std::vector<uint8_t> buffer(std::max(block.size(), static_cast<size_t>(kParamBufferSize)));
  std::copy(block.begin(), block.end(), buffer.begin());
  // The printer is to keep the rate it answered at, which only the search has told.
  const int32_t foundRate = Line->BaudRate();
  if (Job.KeepsFoundRate() && foundRate > 0 && length >= kBlockRateBytes) {
    PutBlockBaudRate(buffer.data(), static_cast<uint32_t>(foundRate));
    TraceLine("The printer keeps " + std::to_string(foundRate) + " baud" + TraceTimestampNow());
  }
  if (Transact(Job.Command(), Job.Argument(), buffer.data(), kParamReplyCapacity, length, kSetParametersAttempts,
               kSetParametersTimeoutMs) >= 0)
    Outcome.BytesAcknowledged = length;
  CloseLink();
}

void TCommThread::RunDownloadFiles() {
  const std::vector<TDownloadEntry>& entries = Job.Entries();
  for (const TDownloadEntry& entry : entries)
    if (entry.Bytes && entry.Name != kSkippedEntryName) Outcome.BytesToSend += static_cast<int64_t>(entry.Bytes->size());
  if (OpenLink() && SwitchBaudRate(kTransferBaudRate) && EnterDownloadMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
    TDataStream stream;
    Outcome.BlockRate = Line->BaudRate();
    for (size_t i = 0; i < entries.size() && everyBlockDelivered; ++i) {
      const TDownloadEntry& entry = entries[i];
      if (entry.Name == kSkippedEntryName) continue;
      if (entry.Bytes) {
        stream.Assign(*entry.Bytes);
      } else {
        if (!IsRegularFile(entry.Path)) continue;
        stream.LoadFromFile(entry.Path, kMaxDownloadFileSize);
      }
      ReportProgress("DOWNLOAD " + entry.Name, 0, 0, true);
      stream.Position = 0;
      while (stream.Position < stream.Size()) {
        // Addresses wrap at 32 bits, as the printer counts them.
        const uint32_t address = static_cast<uint32_t>(stream.Position) + entry.Base;
        const size_t n = stream.Read(block, kBlockSize);
        if (Transact(entry.Command, address, block, kDownloadReplyCapacity, static_cast<int>(n),
                     kDownloadBlockAttempts, DownloadBlockTimeoutMs(address)) < 0) {
          everyBlockDelivered = false;
          break;
        }
        Outcome.BytesAcknowledged += static_cast<int64_t>(n);
        ReportProgress("", static_cast<int32_t>(stream.Position), static_cast<int32_t>(stream.Size()), false);
      }
    }
    Outcome.TransferComplete = everyBlockDelivered;
    if (everyBlockDelivered) SwitchBaudRate(LinkBaudRate);
  }
  CloseLink();
}

void TCommThread::RunProgramFirmware() {
  static const std::vector<uint8_t> kNoImage;
  const std::vector<uint8_t>& image = Job.Image() ? *Job.Image() : kNoImage;
  const size_t size = image.size();
  Outcome.BytesToSend = static_cast<int64_t>(size);
  if (OpenLink() && SwitchBaudRate(kTransferBaudRate) && EnterProgramMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
    Outcome.BlockRate = Line->BaudRate();
    size_t position = 0;
    while (position < size) {
      const uint32_t offset = static_cast<uint32_t>(position);
      // The last block is filled up to its whole size.
      const size_t n = std::min(size - position, static_cast<size_t>(kBlockSize));
      std::memset(block, kFirmwareFill, kBlockSize);
      std::memcpy(block, image.data() + position, n);
      if (Transact(kCommandFirmwareBlock, offset, block, kFirmwareReplyCapacity, kBlockSize,
                   kFirmwareBlockAttempts, FirmwareBlockTimeoutMs(offset)) < 0) {
        everyBlockDelivered = false;
        break;
      }
      position += n;
      Outcome.BytesAcknowledged = static_cast<int64_t>(position);
      ReportProgress("", static_cast<int32_t>(position), static_cast<int32_t>(size), false);
    }
    // A missing reply to the end of programming has set the result code; the firmware is
    // whole only once the printer acknowledged it.
    Outcome.TransferComplete = everyBlockDelivered &&
                               Transact(kCommandMode, kEndOfProgramming, block, kFirmwareReplyCapacity, 0,
                                        kEndOfProgrammingAttempts, kEndOfProgrammingTimeoutMs) >= 0;
  }
  CloseLink();
}

}  // namespace printset
