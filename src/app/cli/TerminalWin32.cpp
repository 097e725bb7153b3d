#include "Terminal.h"

#include <io.h>
#include <windows.h>

namespace printset {

bool IsTerminal(std::FILE* stream) { return stream != nullptr && ::_isatty(::_fileno(stream)) != 0; }

size_t TerminalColumns(std::FILE* stream) {
  if (stream == nullptr) return 0;
  const HANDLE console = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (console == INVALID_HANDLE_VALUE || !::GetConsoleScreenBufferInfo(console, &info)) return 0;
  const int columns = info.srWindow.Right - info.srWindow.Left + 1;
  return columns > 0 ? static_cast<size_t>(columns) : 0;
}

}  // namespace printset
