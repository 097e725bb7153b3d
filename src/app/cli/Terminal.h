// What the front end asks of the terminal it writes to; one implementation per platform.
#pragma once

#include <cstddef>
#include <cstdio>

namespace printset {

// True when `stream` is a terminal; false for a file, a pipe, or a null stream.
bool IsTerminal(std::FILE* stream);

// The width of the terminal behind `stream` in columns; 0 when it is no terminal or the
// system will not say.
size_t TerminalColumns(std::FILE* stream);

}  // namespace printset
