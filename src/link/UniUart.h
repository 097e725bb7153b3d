// TMyUart: the only access to a serial line. Synchronous reads with a total time
// limit and a 100 ms gap limit between bytes, whole-buffer writes, exclusive use.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <utility>

#include "link/ByteSource.h"
#include "link/PortNames.h"

namespace printset {

using THandle = intptr_t;
constexpr THandle kNullHandle = 0;

// How a serial line is driven: framing, handshake and time-outs. The defaults are the
// printer's (8 data bits, no parity, one stop bit, no handshake).
struct TUartSettings {
  // 0 in the two line modes asserts the line, 1 releases it.
  bool ParityCheck = false;
  bool CtsOutFlow = false;
  bool DsrOutFlow = false;
  uint8_t DtrMode = 0;
  bool DsrSensitive = false;
  bool TxContinueOnXoff = true;
  bool XonXoffOut = false;
  bool XonXoffIn = false;
  bool ReplaceErrors = false;
  bool DiscardNulls = false;
  uint8_t RtsMode = 0;
  uint16_t XonLimit = 500;
  uint16_t XoffLimit = 500;
  uint8_t ByteSizeCode = 3;  // data bits = code + 5
  uint8_t ParityMode = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  uint8_t StopBitsCode = 0;  // 0 one, 1 one and a half, 2 two
  uint8_t XonCharacter = 17;
  uint8_t XoffCharacter = 19;
  uint8_t ErrorCharacter = 0;
  // The gap between bytes that ends a read, in milliseconds.
  uint32_t ReadInterval = 100;
  // Slack over the pure line time of a write: driver buffers, scheduling, USB frames.
  uint32_t WriteMarginMs = 500;
};

class TMyUart : public TByteSource {
 public:
  // A closed port; `portMap` overrides port names (the [PORTS] section of the settings
  // file), `settings` drive the line once it is open.
  explicit TMyUart(TPortMap portMap = {}, const TUartSettings& settings = {})
      : PortMap(std::move(portMap)), Line(settings) {}
  ~TMyUart() override;
  TMyUart(const TMyUart&) = delete;
  TMyUart& operator=(const TMyUart&) = delete;

  // Opens `name` (after the port map) for this program alone, raw, at `rate`, with the
  // line settings; false with LastError() set when it cannot.
  bool Open(const std::string& name, int32_t rate);
  // Lets go of the port, dropping output not yet sent; nothing when it is closed.
  void Close();
  // Moves the port to `rate` (stored only while closed); false when the port refuses it.
  // An unchanged rate costs no call.
  bool SetBaudRate(int32_t rate);
  // The rate the port is at (or opens at next).
  int32_t BaudRate() const { return Rate; }
  // Reads up to `count` bytes, ending when they have come, at a gap of ReadInterval ms
  // after the first, or after `ms`; returns how many came, or -1 when the port failed.
  int Read(uint8_t* buffer, int count, uint32_t ms) override;
  // Writes the whole buffer; false when the line fails or stops taking bytes for longer
  // than the bytes take at the line rate plus WriteMarginMs. LastError() then says which.
  bool Write(const uint8_t* buffer, int count);
  // Drops input that is already waiting; returns how many bytes it held (0 when closed).
  int DiscardInput();
  // Drops output not yet on the wire (after a write that gave up).
  void DiscardOutput();
  // Lets other openers in again while the port stays open; nothing when it is closed.
  // Safe from any thread, also while Open or Close runs on another.
  void ReleaseExclusiveUse();
  // The longest a write of `count` bytes may take at the current line settings.
  uint32_t WriteTimeoutMs(int count) const;

  // Whether Open succeeded and Close has not run since.
  bool IsOpen() const { return Handle != kNullHandle; }
  // Why the last Open or Write failed, in the operating system's words; empty after a
  // good Open.
  const std::string& LastError() const { return Error; }
  // Set when a read, a write or a rate change found the port gone (a USB adapter pulled
  // out, the line hung up), in the operating system's words; empty after a good Open.
  const std::string& LostReason() const { return LostError; }
  // Calls made to the operating system for settings (not reads and writes); lets a caller
  // see that an unchanged rate or time-out costs nothing.
  uint32_t PlatformCalls() const { return SettingsCalls; }

 private:
  int Fd() const { return IsOpen() ? static_cast<int>(Handle) : -1; }
  void SetModemLines();
  // Applies the line settings (rate, bits, parity, handshake) to the open port; false
  // when the port or the rate is refused.
  bool ApplySettings();
  // Applies the read and write time-outs to the open port; false when refused.
  bool ApplyTimeouts();
  // Sets the total read time-out used by Read; an unchanged value costs no call.
  void SetReadTimeout(uint32_t ms);

  const TPortMap PortMap;
  const TUartSettings Line;
  // Time-outs in milliseconds, as the port has them now.
  uint32_t ReadTotalMultiplier = 0;
  uint32_t ReadTotalConstant = 0;
  uint32_t WriteTotalMultiplier = 0;
  uint32_t WriteTotalConstant = 0;

  // Written only by Open and Close, under HandleMutex.
  THandle Handle = kNullHandle;
  int32_t Rate = 9600;  // by Open and SetBaudRate
  std::string Error;
  std::string LostError;
  uint32_t SettingsCalls = 0;

  // Held by Open and Close for as long as they change the handle and by
  // ReleaseExclusiveUse while it uses it: a release from another thread then acts on
  // the open port or on none, never on a handle that was closed, whose number the system
  // may already have given to another file.
  std::mutex HandleMutex;
};

}  // namespace printset
