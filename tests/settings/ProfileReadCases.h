// Small settings files and what the Windows profile functions read from them
// (GetPrivateProfileStringA on a Windows-1252 system). TProfileFile is held to this table
// on Linux, and the Windows build checks the same rows against the real functions, so
// that the table stays what Windows does.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace printset {

// What a row expects when the key is not found: the default the Windows function is given.
inline constexpr std::string_view kProfileMissing = "<missing>";

struct TProfileReadCase {
  const char* Name;
  std::string_view Bytes;     // the file, unless Utf16 is given
  std::u16string_view Utf16;  // the file as UTF-16LE after an FF FE byte order mark
  const char* Section;
  const char* Key;            // nullptr: the section's key names, each followed by "\0"
  std::string_view Expected;
};

// The file's bytes for a row.
inline std::string ProfileCaseFile(const TProfileReadCase& row) {
  if (row.Utf16.empty()) return std::string(row.Bytes);
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : row.Utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// A literal with the NULs it holds.
template <size_t N>
constexpr std::string_view WithNuls(const char (&text)[N]) {
  return std::string_view(text, N - 1);
}

inline constexpr TProfileReadCase kProfileReadCases[] = {
    {"double quotes", "[NETWORK]\r\nHOST=\"192.168.1.50\"\r\n", u"", "NETWORK", "HOST", "192.168.1.50"},
    {"empty single quotes", "[S]\r\nA=''\r\n", u"", "S", "A", ""},
    {"unmatched quotes stay", "[S]\r\nA='x\"\r\n", u"", "S", "A", "'x\""},
    {"a lone quote stays", "[S]\r\nA=\"\r\n", u"", "S", "A", "\""},
    {"blanks inside quotes stay", "[S]\r\nA = \" x \" \r\n", u"", "S", "A", " x "},
    {"only the outer pair goes", "[S]\r\nA=\"\"x\"\"\r\n", u"", "S", "A", "\"x\""},
    {"CR only", "[LOGO]\rWIDTH=7\rPARA=1", u"", "LOGO", "WIDTH", "7"},
    {"CR only, last line", "[LOGO]\rWIDTH=7\rPARA=1", u"", "LOGO", "PARA", "1"},
    {"CR only, key names", "[LOGO]\rWIDTH=7\rPARA=1", u"", "LOGO", nullptr, WithNuls("WIDTH\0PARA\0")},
    {"LF CR", "[S]\nA=1\n\rB=2\n", u"", "S", nullptr, WithNuls("A\0B\0")},
    {"CR CR LF", "[S]\r\nA=1\r\r\nB=2\r\n", u"", "S", "A", "1"},
    {"CR CR at the end", "[S]\r\nA=1\r\r", u"", "S", "A", "1"},
    {"UTF-16LE value", "", u"[S]\r\nA=x\u20AC\u4E2D\u00E9\r\n", "S", "A", "x\x80?\xE9"},
    {"UTF-16LE, a character of two units", "", u"[S]\r\nA=\U0001F600\r\n", "S", "A", "??"},
    {"UTF-16LE key names", "", u"[S]\rA=1\n\u4E2D=2\r\n", "S", nullptr, WithNuls("A\0?\0")},
    {"UTF-16LE key found by its Windows-1252 name", "", u"[\u00C4]\r\n\u00E9=1\r\n", "\xC4", "\xE9", "1"},
    {"UTF-16BE", WithNuls("\xFE\xFF\0[\0S\0]\0\n\0A\0=\x20\xAC"), u"", "S", "A", "\x80"},
    {"# starts an entry", "[S]\r\n#A=1\r\nB=2\r\n", u"", "S", "#A", "1"},
    {"# starts an entry, key names", "[S]\r\n#A=1\r\nB=2\r\n", u"", "S", nullptr, WithNuls("#A\0B\0")},
    {"; starts a comment", "[S]\r\n;A=1\r\n  ; B=2\r\nC=3\r\n", u"", "S", nullptr, WithNuls("C\0")},
    {"a line without = is no entry", "[S]\r\nA=1\r\nno equals\r\nB=2\r\n", u"", "S", nullptr, WithNuls("A\0B\0")},
    {"a repeated key is listed twice", "[S]\r\nA=1\r\nB=2\r\na=3\r\n", u"", "S", nullptr, WithNuls("A\0B\0a\0")},
    {"the first of a repeated key is read", "[S]\r\nA=1\r\nB=2\r\na=3\r\n", u"", "S", "a", "1"},
    {"the first of a repeated section is read", "[S]\r\nA=1\r\n[s]\r\nC=2\r\n", u"", "S", "C", kProfileMissing},
};

}  // namespace printset
