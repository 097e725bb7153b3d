// Windows implementation over the communications API. The three endings of a read are
// the driver's own time-outs: the count, ReadTotalTimeoutConstant and
// ReadIntervalTimeout (the gap between bytes, counted from the first byte on), so a
// read is one ReadFile. A write's deadline is WriteTotalTimeoutConstant, set per write.
#include "link/UniUart.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "link/Win32Error.h"

namespace printset {

namespace {

HANDLE AsHandle(THandle handle) { return reinterpret_cast<HANDLE>(handle); }

// Our line modes: 0 asserts the line, 1 releases it, higher values hand it to the driver.
DWORD DtrControl(uint8_t mode) {
  switch (mode) {
    case 0: return DTR_CONTROL_ENABLE;
    case 1: return DTR_CONTROL_DISABLE;
    default: return DTR_CONTROL_HANDSHAKE;
  }
}

DWORD RtsControl(uint8_t mode) {
  switch (mode) {
    case 0: return RTS_CONTROL_ENABLE;
    case 1: return RTS_CONTROL_DISABLE;
    case 2: return RTS_CONTROL_HANDSHAKE;
    default: return RTS_CONTROL_TOGGLE;
  }
}

}  // namespace

bool TMyUart::Open(const std::string& name, int32_t rate) {
  const std::lock_guard<std::mutex> lock(HandleMutex);
  Error.clear();
  LostError.clear();
  const std::string device = ResolvePortName(name, PortMap);
  // No sharing: a second opener, of this or any other program, is refused while we hold it.
  const HANDLE handle =
      CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Error = Win32ErrorText(GetLastError());
    Handle = kNullHandle;
    return false;
  }
  Handle = reinterpret_cast<THandle>(handle);
  auto fail = [&](const std::string& reason) {
    Error = reason;
    CloseHandle(handle);
    Handle = kNullHandle;
    return false;
  };
  if (GetFileType(handle) != FILE_TYPE_CHAR) return fail("Not a character device");
  DCB probe{};
  probe.DCBlength = sizeof probe;
  if (!GetCommState(handle, &probe)) return fail("Not a serial port");
  if (!PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR | PURGE_TXABORT | PURGE_TXCLEAR))
    return fail(Win32ErrorText(GetLastError()));
  if (!ApplyTimeouts()) return fail(Win32ErrorText(GetLastError()));
  Rate = rate;
  if (!ApplySettings()) return fail("The device does not accept the line settings");
  return true;
}

void TMyUart::Close() {
  const std::lock_guard<std::mutex> lock(HandleMutex);
  if (Handle != kNullHandle) {
    // Output still queued (a write that gave up) must not hold the close.
    PurgeComm(AsHandle(Handle), PURGE_TXABORT | PURGE_TXCLEAR);
    CloseHandle(AsHandle(Handle));
    Handle = kNullHandle;
  }
}

void TMyUart::SetModemLines() {
  // The device control block carries DTR and RTS on this system (ApplySettings).
}

bool TMyUart::ApplySettings() {
  if (!IsOpen()) return false;
  if (Rate <= 0) return false;
  ++SettingsCalls;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(AsHandle(Handle), &dcb)) return false;
  dcb.BaudRate = static_cast<DWORD>(Rate);
  dcb.fBinary = TRUE;
  dcb.fParity = Line.ParityCheck;
  dcb.fOutxCtsFlow = Line.CtsOutFlow;
  dcb.fOutxDsrFlow = Line.DsrOutFlow;
  dcb.fDtrControl = DtrControl(Line.DtrMode);
  dcb.fDsrSensitivity = Line.DsrSensitive;
  dcb.fTXContinueOnXoff = Line.TxContinueOnXoff;
  dcb.fOutX = Line.XonXoffOut;
  dcb.fInX = Line.XonXoffIn;
  dcb.fErrorChar = Line.ReplaceErrors;
  dcb.fNull = Line.DiscardNulls;
  dcb.fRtsControl = RtsControl(Line.RtsMode);
  dcb.fAbortOnError = FALSE;
  dcb.XonLim = Line.XonLimit;
  dcb.XoffLim = Line.XoffLimit;
  dcb.ByteSize = static_cast<BYTE>(Line.ByteSizeCode + 5);
  // Both numberings are the system's own: none, odd, even, mark, space; one, 1.5, two.
  dcb.Parity = Line.ParityMode;
  dcb.StopBits = Line.StopBitsCode;
  dcb.XonChar = static_cast<char>(Line.XonCharacter);
  dcb.XoffChar = static_cast<char>(Line.XoffCharacter);
  dcb.ErrorChar = static_cast<char>(Line.ErrorCharacter);
  if (!SetCommState(AsHandle(Handle), &dcb)) return false;
  // A driver that cannot make the rate says so here or rounds it; refuse anything more
  // than 3 % away, which would garble the line.
  DCB actual{};
  actual.DCBlength = sizeof actual;
  if (!GetCommState(AsHandle(Handle), &actual)) return false;
  const double wanted = static_cast<double>(Rate);
  const double got = static_cast<double>(actual.BaudRate);
  return got >= wanted * 0.97 && got <= wanted * 1.03;
}

bool TMyUart::ApplyTimeouts() {
  ++SettingsCalls;
  if (!IsOpen()) return true;
  COMMTIMEOUTS timeouts{};
  if (ReadTotalConstant == 0 && ReadTotalMultiplier == 0) {
    // No total limit would mean "wait for the first byte for ever"; this combination
    // means "what is waiting, at once", as a read of 0 ms does on POSIX.
    timeouts.ReadIntervalTimeout = MAXDWORD;
  } else {
    timeouts.ReadIntervalTimeout = Line.ReadInterval;
    timeouts.ReadTotalTimeoutMultiplier = ReadTotalMultiplier;
    timeouts.ReadTotalTimeoutConstant = ReadTotalConstant;
  }
  timeouts.WriteTotalTimeoutMultiplier = WriteTotalMultiplier;
  timeouts.WriteTotalTimeoutConstant = WriteTotalConstant;
  return SetCommTimeouts(AsHandle(Handle), &timeouts) != 0;
}

int TMyUart::Read(uint8_t* buffer, int count, uint32_t ms) {
  SetReadTimeout(ms);
  if (!IsOpen() || count < 0) return -1;
  if (count == 0) return 0;
  DWORD got = 0;
  if (!ReadFile(AsHandle(Handle), buffer, static_cast<DWORD>(count), &got, nullptr)) {
    LostError = Win32ErrorText(GetLastError());
    return -1;
  }
  return static_cast<int>(got);
}

bool TMyUart::Write(const uint8_t* buffer, int count) {
  if (!IsOpen()) {
    Error = "the port is not open";
    return false;
  }
  if (count <= 0) return true;
  // The driver enforces the deadline; it changes only with the size of the write.
  const uint32_t limit = WriteTimeoutMs(count);
  if (limit != WriteTotalConstant || WriteTotalMultiplier != 0) {
    WriteTotalConstant = limit;
    WriteTotalMultiplier = 0;
    if (!ApplyTimeouts()) {
      Error = Win32ErrorText(GetLastError());
      return false;
    }
  }
  DWORD written = 0;
  if (!WriteFile(AsHandle(Handle), buffer, static_cast<DWORD>(count), &written, nullptr)) {
    Error = Win32ErrorText(GetLastError());
    LostError = Error;
    return false;
  }
  if (written < static_cast<DWORD>(count)) {
    Error = "the line took " + std::to_string(written) + " of " + std::to_string(count) +
                " bytes and then stopped taking any";
    return false;
  }
  return true;
}

int TMyUart::DiscardInput() {
  if (!IsOpen()) return 0;
  DWORD errors = 0;
  COMSTAT status{};
  const DWORD waiting = ClearCommError(AsHandle(Handle), &errors, &status) ? status.cbInQue : 0;
  // Purged even when nothing is counted yet: bytes the driver has taken but not yet
  // queued for reading go too. A failed purge leaves the bytes for the reply receiver,
  // which skips what is not a reply.
  if (!PurgeComm(AsHandle(Handle), PURGE_RXABORT | PURGE_RXCLEAR)) return 0;
  return static_cast<int>(waiting);
}

void TMyUart::DiscardOutput() {
  if (IsOpen()) PurgeComm(AsHandle(Handle), PURGE_TXABORT | PURGE_TXCLEAR);
}

void TMyUart::ReleaseExclusiveUse() {
  // A handle opened without sharing stays exclusive until it is closed; there is nothing
  // to release early on this system.
}

}  // namespace printset
