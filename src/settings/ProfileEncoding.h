// Character conversions of the settings file: UTF-8 as the program holds text, UTF-16 as a
// "Unicode" settings file stores it, and Windows-1252 as the Windows profile functions
// give a UTF-16 file's text to their callers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace printset {

// Bytes [begin, end) of UTF-16 text (little- or big-endian) as UTF-8; an unpaired
// surrogate stands as itself.
std::string Utf16ToUtf8(const std::vector<uint8_t>& bytes, size_t begin, size_t end, bool bigEndian);
// Appends UTF-8 `text` to `out` as UTF-16 (little- or big-endian).
void AppendUtf16(std::string& out, std::string_view text, bool bigEndian);
// Windows-1252 text as UTF-8; every byte has a character.
std::string Windows1252ToUtf8(std::string_view text);
// UTF-8 text as Windows-1252: one "?" per UTF-16 unit of a character it cannot map, as
// Windows converts it.
std::string Utf8ToWindows1252(std::string_view text);

}  // namespace printset
