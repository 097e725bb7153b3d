// "config.ini" and files like it: private-profile (INI) text with [section] lines and
// name=value lines. Our own small layer rather than Qt's settings class, because an
// operator's file must come back with its comments, order and spelling as they were.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace printset {

// Section and key names match regardless of letter case (ASCII); names and values are
// taken without surrounding blanks. When a section or key occurs twice, the first one
// counts, for reading and for writing alike.
class TProfileFile {
 public:
  // Reads the file now; a missing or unreadable file reads as empty.
  explicit TProfileFile(std::string path);

  const std::string& Path() const;

  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // The value as ParseProfileInteger reads it; `defaultValue` when the key is missing.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  // Key names as spelled in the file, in file order, each name once.
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;

  // Each write goes to disk at once. The file is read again first, so that changes
  // made by someone else since this object read it are kept; everything but the one
  // key's line stays as it was. An existing key is replaced where it stands, a new key
  // goes after the last key of its section, a new section at the end of the file.
  // False, with LastError set, when the file cannot be read back or written, or when a
  // name could not be read back as given (empty, outer blanks, "]" in a section, "=" in a
  // key, a key starting with ";", "#" or "[") or the value holds a line break; the file
  // on disk is then unchanged.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value);

  // The system's reason for the last failed write, empty when none failed.
  std::string LastError() const;

 private:
  bool Load(std::vector<std::string>& lines, std::string& lineEnd) const;
  bool Save(const std::vector<std::string>& lines, const std::string& lineEnd);

  std::string FilePath;
  std::vector<std::string> Lines;  // without their line ends
  std::string LineEnd = "\r\n";
  std::string Error;
};

// Decimal (an optional minus sign, then digits) or hexadecimal ("0x" or "0X" and at
// least one hex digit). Anything else, or a value outside 32 bits, gives `defaultValue`.
// Hexadecimal values from 0x80000000 to 0xFFFFFFFF wrap to negative numbers, so a value
// written as a 32-bit bit pattern reads back as the same bits.
int32_t ParseProfileInteger(std::string_view text, int32_t defaultValue);

}  // namespace printset
