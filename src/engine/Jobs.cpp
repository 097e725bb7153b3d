// The three job bodies. Each opens the link, does its work and always closes the link;
// a failing step has set ResultCode and the rest is skipped.
#include <cstring>
#include <stdexcept>

#include "base/FileIo.h"
#include "base/Numbers.h"
#include "engine/CommThread.h"
#include "engine/Commands.h"
#include "engine/Convert.h"
#include "engine/TransferLimits.h"
#include "engine/TransferRules.h"

namespace printset {

namespace {

constexpr int kSetParametersAttempts = 3;
constexpr uint32_t kSetParametersTimeoutMs = 1000;
constexpr int kParamReplyCapacity = kParamBufferSize - 1;

constexpr int kDownloadBlockAttempts = 3;
constexpr int kDownloadReplyCapacity = kBlockBufferSize - 1;
constexpr const char* kSkippedEntryName = "-";

constexpr int kFirmwareBlockAttempts = 3;
constexpr int kFirmwareReplyCapacity = kBlockBufferSize;
constexpr uint8_t kFirmwareFill = 0xFF;
constexpr int kEndOfProgrammingAttempts = 1;
constexpr uint32_t kEndOfProgrammingTimeoutMs = 600;

struct TDownloadEntry {
  uint16_t Command;
  uint32_t Base;
};

// An unsigned 32-bit value as the front end writes it (decimal or 0x hexadecimal, up to
// 0xFFFFFFFF), or the signed decimal the list has always taken (-256 is 0xFFFFFF00).
// Anything else throws TConvertError.
uint32_t ListNumber(const std::string& text) {
  uint64_t value = 0;
  if (ParseNumber(text, 0xFFFFFFFFu, value)) return static_cast<uint32_t>(value);
  return static_cast<uint32_t>(StrToInt(text));
}

// Every entry is checked before the link opens, so a bad list sends nothing at all.
std::vector<TDownloadEntry> CheckDownloadList(const TDownloadList& list) {
  const size_t count = list.DownloadPaths.size();
  if (list.DownloadNames.size() != count || list.DownloadCommands.size() != count ||
      list.DownloadBases.size() != count || list.DownloadBytes.size() != count)
    throw std::invalid_argument("the download list has entries of unequal length");
  std::vector<TDownloadEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    if (list.DownloadNames[i] == kSkippedEntryName) {
      entries.push_back({0, 0});
      continue;
    }
    entries.push_back({static_cast<uint16_t>(ListNumber(list.DownloadCommands[i])),
                       ListNumber(list.DownloadBases[i])});
  }
  return entries;
}

}  // namespace

void TCommThread::RunSetParameters() {
  BytesToSend = ParamLength;
  if (OpenLink(LinkPortName) &&
      Transact(static_cast<uint16_t>(ParamCommand), static_cast<uint32_t>(ParamArgument), ParamBuffer,
               kParamReplyCapacity, ParamLength, kSetParametersAttempts, kSetParametersTimeoutMs) >= 0)
    BytesAcknowledged = ParamLength;
  CloseLink();
}

void TCommThread::RunDownloadFiles() {
  const std::vector<TDownloadEntry> entries = CheckDownloadList(DownloadList);
  for (const TSharedBytes& bytes : DownloadList.DownloadBytes)
    if (bytes) BytesToSend += static_cast<int64_t>(bytes->size());
  if (OpenLink(LinkPortName) && SwitchBaudRate(kTransferBaudRate) && EnterDownloadMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
    for (size_t i = 0; i < entries.size() && everyBlockDelivered; ++i) {
      const std::string& name = DownloadList.DownloadNames[i];
      const std::string& path = DownloadList.DownloadPaths[i];
      if (name == kSkippedEntryName) continue;
      if (const TSharedBytes& bytes = DownloadList.DownloadBytes[i]) {
        DataStream.Assign(*bytes);
      } else {
        if (!IsRegularFile(path)) continue;
        DataStream.LoadFromFile(path, kMaxDownloadFileSize);
      }
      ReportProgress("DOWNLOAD " + name, 0, 0, true);
      DataStream.Position = 0;
      while (DataStream.Position < DataStream.Size()) {
        // Addresses wrap at 32 bits, as the printer counts them.
        const uint32_t address = static_cast<uint32_t>(DataStream.Position) + entries[i].Base;
        const size_t n = DataStream.Read(block, kBlockSize);
        if (Transact(entries[i].Command, address, block, kDownloadReplyCapacity, static_cast<int>(n),
                     kDownloadBlockAttempts, DownloadBlockTimeoutMs(address)) < 0) {
          everyBlockDelivered = false;
          break;
        }
        BytesAcknowledged += static_cast<int64_t>(n);
        ReportProgress("", static_cast<int32_t>(DataStream.Position), static_cast<int32_t>(DataStream.Size()), false);
      }
    }
    if (everyBlockDelivered) SwitchBaudRate(LinkBaudRate);
  }
  CloseLink();
}

void TCommThread::RunProgramFirmware() {
  BytesToSend = static_cast<int64_t>(DataStream.Size());
  if (OpenLink(LinkPortName) && SwitchBaudRate(kTransferBaudRate) && EnterProgramMode()) {
    bool everyBlockDelivered = true;
    uint8_t block[kBlockBufferSize];
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
    if (everyBlockDelivered) {
      // Its outcome needs no test of its own: a missing reply has set ResultCode.
      Transact(kCommandMode, kEndOfProgramming, block, kFirmwareReplyCapacity, 0, kEndOfProgrammingAttempts,
               kEndOfProgrammingTimeoutMs);
    }
  }
  CloseLink();
}

}  // namespace printset
