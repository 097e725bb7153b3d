// "config.ini" and files like it: private-profile (INI) text with [section] lines and
// name=value lines, read as the Windows profile functions read them. Our own small layer
// rather than Qt's settings class, because an operator's file must come back with its
// comments, order, spelling and line ends as they were.
//
// How the settings layer fails, in every file of src/settings: nothing throws. Reading
// never fails: a missing file, section or key, or a value that does not parse, gives the
// default the reader names. An operation that can fail (a write, making a folder or a
// file, choosing the program's folders) returns false and says why: a TProfileFile in
// LastError(), every other operation in a `reason` argument, a whole sentence naming the
// file or folder and the system's words; what it was to fill is then left unchanged.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace printset {

// The largest settings file read. A bigger one reads as empty and is never written over.
inline constexpr uint64_t kProfileFileMaxSize = 1024 * 1024;

// The file as read: every line with its own line end, so that a write keeps each line it
// does not change byte for byte. The text of a UTF-16 file is held as UTF-8 (a lone
// surrogate encoded as if it were a character), so that it goes back unchanged.
struct TProfileText {
  enum class TEncoding { Bytes, Utf8WithBom, Utf16Le, Utf16Be };
  struct TLine {
    std::string Text;
    std::string End;  // "\r\n", "\n", "\r", or empty for a last line without one
  };
  TEncoding Encoding = TEncoding::Bytes;
  std::vector<TLine> Lines;
  std::string Tail;  // an odd last byte of a UTF-16 file, kept as found
};

// Reading rules:
// - CR LF, LF and a lone CR each end a line; a line's leading and trailing blanks
//   (spaces and tabs) do not count.
// - "[name]" starts a section; "name=value" is an entry; a line starting with ";" is a
//   comment; any other line (no "=", an empty name) is ignored. "#name=value" is an
//   ordinary entry named "#name".
// - Section and key names match regardless of letter case (ASCII), without surrounding
//   blanks. Of two sections with the same name the first counts; of two entries with the
//   same name in a section the first one is read and written, and both are listed.
// - A value is taken without surrounding blanks and then without one surrounding pair of
//   matching quotes, " or ' (`"a b"` reads `a b`, `''` reads empty, `'a"` stays).
// - A UTF-8 byte order mark is skipped and the text taken as it stands. A file starting
//   with a UTF-16 byte order mark (FF FE or FE FF) is UTF-16: names and values come and go
//   as Windows-1252 bytes, a character Windows-1252 lacks reads as "?" (one per UTF-16
//   unit), and the file is written back as UTF-16 in its own byte order with its mark.
// - A file over kProfileFileMaxSize bytes, or one that is not a regular file (a FIFO, a
//   device, a folder, a link to one), reads as empty.
class TProfileFile {
 public:
  // Reads the file now; a missing or unreadable file reads as empty.
  explicit TProfileFile(std::string path);

  const std::string& Path() const;

  // The entry's value; nullopt when the section or the key is not there.
  std::optional<std::string> ReadString(std::string_view section, std::string_view key) const;
  // The value as ParseProfileInteger reads it; `defaultValue` when the key is missing.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
  // Whether the file, as read, has a section of that name. Never fails.
  bool HasSection(std::string_view section) const;
  // Key names as spelled in the file, in file order, a repeated name as often as it
  // occurs; empty when the section is not there.
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;

  // Each write goes to disk at once, as one step: other writers and readers see the old
  // file or the whole new one (the last writer wins). The file is read again first, so
  // that changes made by someone else since this object read it are kept; every line
  // but the one key's stays byte for byte as it was. An existing key is replaced where it
  // stands, a new key goes after the last key of its section, a new section at the end of
  // the file; a new line gets the line end most of the file's lines have (CR LF on a tie
  // or when none has one). A value with blanks at either end, or one that starts and ends
  // with the same quote, is written in double quotes so that it reads back as given.
  // False, with LastError set, when the file cannot be read back whole (see the reading
  // rules), would grow past kProfileFileMaxSize or cannot be written, or when a name could
  // not be read back as given (empty, outer blanks, "]" in a section, "=" in a key, a key
  // starting with ";" or "[") or the value holds a line break; the file on disk is then
  // unchanged.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
  // Adds `lines` (ended by LF, the first one "[section]") as a new section at the end of
  // the file, after a blank line, each line with the file's usual line end; every line
  // already there stays byte for byte. False, with LastError set, when the file already
  // has that section, when `lines` does not start with its "[section]" line, or as
  // WriteString fails; the file on disk is then unchanged.
  bool AppendSection(std::string_view section, std::string_view lines);

  // The reason for the last failed write, empty when none failed.
  std::string LastError() const;

 private:
  bool Load(TProfileText& text, std::string& reason) const;
  bool Save(const TProfileText& text);

  std::string FilePath;
  TProfileText Text;
  std::string Error;
};

// Decimal (an optional minus sign, then digits) or hexadecimal ("0x" or "0X" and at
// least one hex digit). Anything else, or a value outside 32 bits, gives `defaultValue`.
// Hexadecimal values from 0x80000000 to 0xFFFFFFFF wrap to negative numbers, so a value
// written as a 32-bit bit pattern reads back as the same bits.
int32_t ParseProfileInteger(std::string_view text, int32_t defaultValue);

}  // namespace printset
