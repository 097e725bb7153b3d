// What both implementations of the serial port share: the rules that touch no system call.
#include "link/UniUart.h"

namespace printset {

TMyUart::~TMyUart() { Close(); }

bool TMyUart::SetBaudRate(int32_t rate) {
  if (rate == Rate) return true;
  Rate = rate;
  if (Handle != kNullHandle) return ApplySettings();
  return true;
}

void TMyUart::SetReadTimeout(uint32_t ms) {
  if (ms == ReadTotalConstant) return;
  ReadTotalConstant = ms;
  if (IsOpen()) ApplyTimeouts();
}

uint32_t TMyUart::WriteTimeoutMs(int count) const {
  // Start bit, data bits, parity, stop bits (one and a half counted as two).
  const int64_t bits = 1 + (Line.ByteSizeCode + 5) + (Line.ParityMode != 0 ? 1 : 0) + (Line.StopBitsCode != 0 ? 2 : 1);
  const int64_t rate = Rate > 0 ? Rate : 1;
  const int64_t lineMs = (static_cast<int64_t>(count > 0 ? count : 0) * bits * 1000 + rate - 1) / rate;
  return static_cast<uint32_t>(lineMs) + Line.WriteMarginMs;
}

}  // namespace printset
