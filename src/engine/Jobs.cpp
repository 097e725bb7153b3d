// The job bodies. Each opens the link, does its work and always closes the link;
// a failing step has set ResultCode and the rest is skipped.
#include <cstring>

#include "base/FileIo.h"
#include "engine/CommThread.h"
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
  OpenLink(LinkPortName);
  CloseLink();
}

void TCommThread::RunSetParameters() {
  BytesToSend = ParamLength;
  if (!OpenLink(LinkPortName)) {
    CloseLink();
    return;
  }
  // The printer is to keep the rate it answered at, which only the search has told.
  const int32_t foundRate = Line->BaudRate();
  if (ParamKeepsFoundRate && foundRate > 0 && ParamLength >= kBlockRateBytes) {
    PutBlockBaudRate(ParamBuffer, static_cast<uint32_t>(foundRate));
    TraceLine("The printer keeps " + std::to_string(foundRate) + " baud" + TraceTimestampNow());
  }
  if (Transact(static_cast<uint16_t>(ParamCommand), static_cast<uint32_t>(ParamArgument), ParamBuffer,
               kParamReplyCapacity, ParamLength, kSetParametersAttempts, kSetParametersTimeoutMs) >= 0)
    BytesAcknowledged = ParamLength;
  CloseLink();
}

void TCommThread::RunDownloadFiles() {
  for (const TDownloadEntry& entry : DownloadList)
    if (entry.Bytes && entry.Name != kSkippedEntryName) BytesToSend += static_cast<int64_t>(entry.Bytes->size());
  if (OpenLink(LinkPortName) && SwitchBaudRate(kTransferBaudRate) && EnterDownloadMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
    BlockRate = Line->BaudRate();
    for (size_t i = 0; i < DownloadList.size() && everyBlockDelivered; ++i) {
      const TDownloadEntry& entry = DownloadList[i];
      if (entry.Name == kSkippedEntryName) continue;
      if (entry.Bytes) {
        DataStream.Assign(*entry.Bytes);
      } else {
        if (!IsRegularFile(entry.Path)) continue;
        DataStream.LoadFromFile(entry.Path, kMaxDownloadFileSize);
      }
      ReportProgress("DOWNLOAD " + entry.Name, 0, 0, true);
      DataStream.Position = 0;
      while (DataStream.Position < DataStream.Size()) {
        // Addresses wrap at 32 bits, as the printer counts them.
        const uint32_t address = static_cast<uint32_t>(DataStream.Position) + entry.Base;
        const size_t n = DataStream.Read(block, kBlockSize);
        if (Transact(entry.Command, address, block, kDownloadReplyCapacity, static_cast<int>(n),
                     kDownloadBlockAttempts, DownloadBlockTimeoutMs(address)) < 0) {
          everyBlockDelivered = false;
          break;
        }
        BytesAcknowledged += static_cast<int64_t>(n);
        ReportProgress("", static_cast<int32_t>(DataStream.Position), static_cast<int32_t>(DataStream.Size()), false);
      }
    }
    TransferComplete = everyBlockDelivered;
    if (everyBlockDelivered) SwitchBaudRate(LinkBaudRate);
  }
  CloseLink();
}

void TCommThread::RunProgramFirmware() {
  BytesToSend = static_cast<int64_t>(DataStream.Size());
  if (OpenLink(LinkPortName) && SwitchBaudRate(kTransferBaudRate) && EnterProgramMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
    BlockRate = Line->BaudRate();
    DataStream.Position = 0;
    while (DataStream.Position < DataStream.Size()) {
      const uint32_t offset = static_cast<uint32_t>(DataStream.Position);
      std::memset(block, kFirmwareFill, kBlockSize);
      DataStream.Read(block, kBlockSize);
      if (Transact(kCommandFirmwareBlock, offset, block, kFirmwareReplyCapacity, kBlockSize,
                   kFirmwareBlockAttempts, FirmwareBlockTimeoutMs(offset)) < 0) {
        everyBlockDelivered = false;
        break;
      }
      BytesAcknowledged = static_cast<int64_t>(DataStream.Position);
      ReportProgress("", static_cast<int32_t>(DataStream.Position), static_cast<int32_t>(DataStream.Size()), false);
    }
    // A missing reply to the end of programming has set ResultCode; the firmware is
    // whole only once the printer acknowledged it.
    TransferComplete = everyBlockDelivered &&
                       Transact(kCommandMode, kEndOfProgramming, block, kFirmwareReplyCapacity, 0,
                                kEndOfProgrammingAttempts, kEndOfProgrammingTimeoutMs) >= 0;
  }
  CloseLink();
}

}  // namespace printset
