// The window program on Windows. Besides --help and --version it takes no arguments;
// those two are answered on the console it was started from.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "printset/Version.h"
#include "settings/AppPaths.h"
#include "ui/win32/BoxesWin32.h"
#include "ui/win32/MainWindowWin32.h"

namespace {

const char kUsage[] =
    "Usage: printset [--help | --version]\n"
    "The PRINT SET window: sets a receipt printer's baud rate, code page and six-digit\n"
    "string, programs its firmware and downloads logos into it, over a serial line or UDP.\n"
    "\n"
    "  --help, -h      show this text\n"
    "  --version       show the version and the commit it was built from\n"
    "\n"
    "config.ini is read at start; its [LOGO] and [WINDOW] sections are written back at\n"
    "the end. With a config.ini beside the program in a folder you can write, every file\n"
    "stays there; otherwise config.ini is in %APPDATA%\\printset (made from the built-in\n"
    "sample on first run) and debug.log and logo.bin are in %LOCALAPPDATA%\\printset.\n"
    "A config.ini without code pages gets the sample's with: printset-cli codepages --add\n";

// Writes `text` where the program's output goes: to the file or pipe it was redirected
// to, else to the console of the program that started it, if there is one (a program of
// the window subsystem has no console of its own).
void WriteOutput(const std::string& text) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const bool redirected = output != nullptr && output != INVALID_HANDLE_VALUE &&
                          (GetFileType(output) == FILE_TYPE_DISK || GetFileType(output) == FILE_TYPE_PIPE);
  DWORD written = 0;
  if (redirected) {
    static_cast<void>(WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    return;
  }
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (output == INVALID_HANDLE_VALUE) return;
  static_cast<void>(WriteConsoleA(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  static_cast<void>(CloseHandle(output));
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before any window exists.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      WriteOutput(kUsage);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      WriteOutput(printset::VersionLine("printset"));
      return 0;
    }
  }
  printset::TAppPaths paths;
  std::string reason;
  if (!printset::ResolveAppPaths(printset::ExecutableFolder(), "", paths, reason)) {
    printset::win32::ShowErrorBox(nullptr, "", reason);
    return 1;
  }
  printset::win32::TMainWindowWin32 window(paths);
  if (!window.Create(SW_SHOWNORMAL)) {
    printset::win32::ShowErrorBox(nullptr, "", "The window cannot be made (system error " +
                                                   std::to_string(GetLastError()) + ").");
    return 1;
  }
  return window.Run();
}
