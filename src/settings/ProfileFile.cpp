#include "settings/ProfileFile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <limits>
#include <system_error>

#include "base/FileIo.h"
#include "base/Numbers.h"
#include "base/Text.h"
#include "settings/ProfileEncoding.h"

namespace printset {

namespace {

namespace fs = std::filesystem;
using TEncoding = TProfileText::TEncoding;
using TLine = TProfileText::TLine;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsUtf16(TEncoding encoding) { return encoding == TEncoding::Utf16Le || encoding == TEncoding::Utf16Be; }

// A name or value from the caller (Windows-1252 for a UTF-16 file) in the file's text.
std::string ToFileText(TEncoding encoding, std::string_view text) {
  return IsUtf16(encoding) ? Windows1252ToUtf8(text) : std::string(text);
}

std::string FromFileText(TEncoding encoding, std::string_view text) {
  return IsUtf16(encoding) ? Utf8ToWindows1252(text) : std::string(text);
}

void SplitLines(std::string_view text, std::vector<TLine>& lines) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({std::string(text.substr(start)), ""});
      return;
    }
    const size_t endSize = text.substr(end, 2) == "\r\n" ? 2 : 1;
    lines.push_back({std::string(text.substr(start, end - start)), std::string(text.substr(end, endSize))});
    start = end + endSize;
  }
}

TProfileText Decode(const std::vector<uint8_t>& bytes) {
  TProfileText text;
  const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (all.substr(0, 2) == "\xFF\xFE" || all.substr(0, 2) == "\xFE\xFF") {
    text.Encoding = all[0] == '\xFF' ? TEncoding::Utf16Le : TEncoding::Utf16Be;
    SplitLines(Utf16ToUtf8(bytes, 2, bytes.size(), text.Encoding == TEncoding::Utf16Be), text.Lines);
    if (bytes.size() % 2 != 0) text.Tail = all.substr(bytes.size() - 1);
    return text;
  }
  std::string_view body = all;
  if (body.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
    text.Encoding = TEncoding::Utf8WithBom;
    body.remove_prefix(kUtf8Bom.size());
  }
  SplitLines(body, text.Lines);
  return text;
}

std::string Encode(const TProfileText& text) {
  std::string body;
  for (const TLine& line : text.Lines) body += line.Text + line.End;
  switch (text.Encoding) {
    case TEncoding::Bytes:
      return body;
    case TEncoding::Utf8WithBom:
      return std::string(kUtf8Bom) + body;
    case TEncoding::Utf16Le:
    case TEncoding::Utf16Be: {
      const bool bigEndian = text.Encoding == TEncoding::Utf16Be;
      std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
      AppendUtf16(out, body, bigEndian);
      return out + text.Tail;
    }
  }
  return body;
}

// The line end most of the file's lines have; CR LF on a tie or when none has one.
std::string UsualLineEnd(const std::vector<TLine>& lines) {
  size_t crLf = 0, lf = 0, cr = 0;
  for (const TLine& line : lines) {
    crLf += line.End == "\r\n";
    lf += line.End == "\n";
    cr += line.End == "\r";
  }
  if (lf > crLf && lf > cr) return "\n";
  if (cr > crLf && cr > lf) return "\r";
  return "\r\n";
}

enum class TLineKind { Other, Section, Key };

struct TParsedLine {
  TLineKind Kind = TLineKind::Other;
  std::string_view Name;
  std::string_view Value;
  size_t NameEnd = 0;  // offset in the line just past the key's name
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

TParsedLine ParseLine(std::string_view line) {
  TParsedLine parsed;
  const std::string_view text = TrimBlanks(line);
  if (text.empty() || text.front() == ';') return parsed;
  if (text.front() == '[') {
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return parsed;
    parsed.Kind = TLineKind::Section;
    parsed.Name = TrimBlanks(text.substr(1, close - 1));
    return parsed;
  }
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return parsed;
  parsed.Name = TrimBlanks(text.substr(0, equals));
  if (parsed.Name.empty()) return parsed;
  parsed.Kind = TLineKind::Key;
  parsed.Value = TrimBlanks(text.substr(equals + 1));
  if (parsed.Value.size() >= 2 && IsQuote(parsed.Value.front()) && parsed.Value.back() == parsed.Value.front())
    parsed.Value = parsed.Value.substr(1, parsed.Value.size() - 2);
  parsed.NameEnd = static_cast<size_t>(parsed.Name.data() - line.data()) + parsed.Name.size();
  return parsed;
}

// In a UTF-16 file names are compared as the caller sees them, in Windows-1252, so that
// every name ReadSectionKeys lists can be read and written under that name.
bool SameName(TEncoding encoding, std::string_view inFile, std::string_view wanted) {
  return IsUtf16(encoding) ? SameTextIgnoringCase(Utf8ToWindows1252(inFile), wanted)
                           : SameTextIgnoringCase(inFile, wanted);
}

// Lines [Begin, End) below the [name] line of the first section with the given name.
struct TSectionSpan {
  bool Found = false;
  size_t Begin = 0;
  size_t End = 0;
};

TSectionSpan FindSection(const TProfileText& text, std::string_view section) {
  TSectionSpan span;
  for (size_t i = 0; i < text.Lines.size(); ++i) {
    const TParsedLine parsed = ParseLine(text.Lines[i].Text);
    if (parsed.Kind != TLineKind::Section) continue;
    if (span.Found) {
      span.End = i;
      return span;
    }
    if (SameName(text.Encoding, parsed.Name, section)) span = {true, i + 1, text.Lines.size()};
  }
  return span;
}

std::optional<TParsedLine> FindKey(const TProfileText& text, const TSectionSpan& span, std::string_view key) {
  for (size_t i = span.Begin; i < span.End; ++i) {
    const TParsedLine parsed = ParseLine(text.Lines[i].Text);
    if (parsed.Kind == TLineKind::Key && SameName(text.Encoding, parsed.Name, key)) return parsed;
  }
  return std::nullopt;
}

// A name that reads back as itself: the reader drops outer blanks, so a name with them
// would be written under one name and found under another.
bool ValidName(std::string_view name, std::string_view forbidden) {
  return !name.empty() && TrimBlanks(name) == name && name.find_first_of(forbidden) == std::string_view::npos;
}

// A key line must not read as a comment or a section line.
bool ValidKey(std::string_view key) { return ValidName(key, "=\r\n") && key.front() != ';' && key.front() != '['; }

// The reader drops outer blanks and one pair of outer quotes; a value that would lose
// either goes in double quotes, which the reader takes off again.
std::string ValueAsWritten(std::string_view value) {
  const bool quoted = value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
  if (quoted || TrimBlanks(value) != value) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

}  // namespace

TProfileFile::TProfileFile(std::string path) : FilePath(std::move(path)) {
  // A file that cannot be read is left as an empty one, which is what settings fall
  // back to: every key at its default.
  std::string reason;
  Load(Text, reason);
}

const std::string& TProfileFile::Path() const { return FilePath; }

std::string TProfileFile::LastError() const { return Error; }

bool TProfileFile::Load(TProfileText& text, std::string& reason) const {
  text = TProfileText{};
  std::vector<uint8_t> bytes;
  if (!ReadFileBounded(FilePath, kProfileFileMaxSize, bytes, reason)) {
    // A file that is not there yet is an empty one, and a write makes it.
    std::error_code ec;
    return fs::status(FilePath, ec).type() == fs::file_type::not_found;
  }
  text = Decode(bytes);
  return true;
}

bool TProfileFile::Save(const TProfileText& text) {
  const std::string bytes = Encode(text);
  if (bytes.size() > kProfileFileMaxSize) {
    Error = "the file would grow to " + std::to_string(bytes.size()) + " bytes, more than the " +
            std::to_string(kProfileFileMaxSize) + " bytes read back";
    return false;
  }
  return WriteFileAtomically(FilePath, bytes.data(), bytes.size(), Error);
}

std::optional<std::string> TProfileFile::ReadString(std::string_view section, std::string_view key) const {
  const TSectionSpan span = FindSection(Text, section);
  if (!span.Found) return std::nullopt;
  const std::optional<TParsedLine> found = FindKey(Text, span, key);
  if (!found) return std::nullopt;
  return FromFileText(Text.Encoding, found->Value);
}

int32_t TProfileFile::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
  const std::optional<std::string> value = ReadString(section, key);
  return value ? ParseProfileInteger(*value, defaultValue) : defaultValue;
}

bool TProfileFile::HasSection(std::string_view section) const { return FindSection(Text, section).Found; }

std::vector<std::string> TProfileFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  const TSectionSpan span = FindSection(Text, section);
  if (!span.Found) return keys;
  for (size_t i = span.Begin; i < span.End; ++i) {
    const TParsedLine parsed = ParseLine(Text.Lines[i].Text);
    if (parsed.Kind == TLineKind::Key) keys.push_back(FromFileText(Text.Encoding, parsed.Name));
  }
  return keys;
}

bool TProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidName(section, "]\r\n") || !ValidKey(key) || value.find_first_of("\r\n") != std::string_view::npos) {
    Error = "Invalid section, key or value";
    return false;
  }
  TProfileText text;
  std::string reason;
  if (!Load(text, reason)) {
    Error = "not written, because the file cannot be read whole: " + reason;
    return false;
  }
  std::vector<TLine>& lines = text.Lines;
  const std::string lineEnd = UsualLineEnd(lines);
  const std::string assignment = ToFileText(text.Encoding, "=" + ValueAsWritten(value));
  const std::string entry = ToFileText(text.Encoding, key) + assignment;
  // Lines added at `at`; a last line without a line end gets one when lines follow it.
  const auto insert = [&](size_t at, std::vector<std::string> added) {
    if (at > 0 && lines[at - 1].End.empty()) lines[at - 1].End = lineEnd;
    for (std::string& line : added)
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at++), TLine{std::move(line), lineEnd});
  };
  const TSectionSpan span = FindSection(text, section);
  if (!span.Found) {
    std::vector<std::string> added;
    if (!lines.empty() && !TrimBlanks(lines.back().Text).empty()) added.emplace_back();
    added.push_back(ToFileText(text.Encoding, "[" + std::string(section) + "]"));
    added.push_back(entry);
    insert(lines.size(), std::move(added));
  } else {
    size_t insertAt = span.Begin;
    bool replaced = false;
    for (size_t i = span.Begin; i < span.End && !replaced; ++i) {
      const TParsedLine parsed = ParseLine(lines[i].Text);
      if (parsed.Kind != TLineKind::Key) continue;
      insertAt = i + 1;
      if (SameName(text.Encoding, parsed.Name, key)) {
        // The leading blanks and the key's spelling stay as the operator wrote them.
        lines[i].Text = lines[i].Text.substr(0, parsed.NameEnd) + assignment;
        replaced = true;
      }
    }
    if (!replaced) insert(insertAt, {entry});
  }
  if (!Save(text)) return false;
  Text = std::move(text);
  Error.clear();
  return true;
}

bool TProfileFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool TProfileFile::AppendSection(std::string_view section, std::string_view lines) {
  const std::string header = "[" + std::string(section) + "]";
  if (!ValidName(section, "]\r\n") || lines.substr(0, header.size() + 1) != header + "\n" ||
      lines.find('\r') != std::string_view::npos) {
    Error = "Invalid section or lines";
    return false;
  }
  TProfileText text;
  std::string reason;
  if (!Load(text, reason)) {
    Error = "not written, because the file cannot be read whole: " + reason;
    return false;
  }
  if (FindSection(text, section).Found) {
    Error = "the file already has a [" + std::string(section) + "] section";
    return false;
  }
  const std::string lineEnd = UsualLineEnd(text.Lines);
  if (!text.Lines.empty() && text.Lines.back().End.empty()) text.Lines.back().End = lineEnd;
  if (!text.Lines.empty() && !TrimBlanks(text.Lines.back().Text).empty()) text.Lines.push_back({"", lineEnd});
  for (size_t start = 0; start < lines.size();) {
    const size_t end = std::min(lines.find('\n', start), lines.size());
    text.Lines.push_back({ToFileText(text.Encoding, lines.substr(start, end - start)), lineEnd});
    start = end + 1;
  }
  if (!Save(text)) return false;
  Text = std::move(text);
  Error.clear();
  return true;
}

int32_t ParseProfileInteger(std::string_view text, int32_t defaultValue) {
  uint64_t value = 0;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return ParseNumber(text, 0xFFFFFFFFu, value) ? static_cast<int32_t>(static_cast<uint32_t>(value)) : defaultValue;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  // A sign goes with decimal digits only.
  if (text.size() > 1 && (text[1] == 'x' || text[1] == 'X')) return defaultValue;
  const uint64_t largest = negative ? uint64_t{1} << 31 : std::numeric_limits<int32_t>::max();
  if (!ParseNumber(text, largest, value)) return defaultValue;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value));
}

}  // namespace printset
