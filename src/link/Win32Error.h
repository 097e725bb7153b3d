// Windows builds only: the system's own words for an error code, as LastError fields show them.
#pragma once

#include <string>

namespace printset {

// FormatMessage's text for `code` (a GetLastError() or WSAGetLastError() value) without the
// trailing ".\r\n"; "error N" when the system has no text for it. Never fails.
std::string Win32ErrorText(unsigned long code);

}  // namespace printset
