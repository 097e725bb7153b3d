#include "link/Win32Error.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace printset {

std::string Win32ErrorText(unsigned long code) {
  char text[512];
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                      0, text, sizeof text, nullptr);
  if (length == 0) return "error " + std::to_string(code);
  std::string message(text, length);
  // The system's messages end with ".\r\n"; the callers put their own punctuation around them.
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ' ||
                              message.back() == '.'))
    message.pop_back();
  return message;
}

}  // namespace printset
