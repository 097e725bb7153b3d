#include "settings/ProfileFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "engine/Convert.h"

namespace printset {

namespace {

namespace fs = std::filesystem;

enum class TLineKind { Other, Section, Key };

struct TParsedLine {
  TLineKind Kind = TLineKind::Other;
  std::string_view Name;
  std::string_view Value;
  size_t NameEnd = 0;  // offset in the line just past the key's name
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

TParsedLine ParseLine(std::string_view line) {
  TParsedLine parsed;
  std::string_view text = line;
  // Some editors save a UTF-8 byte order mark in front of the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  text = TrimBlanks(text);
  if (text.empty() || text.front() == ';' || text.front() == '#') return parsed;
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
  parsed.NameEnd = static_cast<size_t>(parsed.Name.data() - line.data()) + parsed.Name.size();
  return parsed;
}

// Lines [Begin, End) below the [name] line of the first section with the given name.
struct TSectionSpan {
  bool Found = false;
  size_t Begin = 0;
  size_t End = 0;
};

TSectionSpan FindSection(const std::vector<std::string>& lines, std::string_view section) {
  TSectionSpan span;
  for (size_t i = 0; i < lines.size(); ++i) {
    const TParsedLine parsed = ParseLine(lines[i]);
    if (parsed.Kind != TLineKind::Section) continue;
    if (span.Found) {
      span.End = i;
      return span;
    }
    if (SameTextIgnoringCase(parsed.Name, section)) {
      span = {true, i + 1, lines.size()};
    }
  }
  return span;
}

// A name that reads back as itself: the reader drops outer blanks, so a name with them
// would be written under one name and found under another.
bool ValidName(std::string_view name, std::string_view forbidden) {
  return !name.empty() && TrimBlanks(name) == name && name.find_first_of(forbidden) == std::string_view::npos;
}

// A key line must not read as a comment or a section line.
bool ValidKey(std::string_view key) {
  return ValidName(key, "=\r\n") && key.front() != ';' && key.front() != '#' && key.front() != '[';
}

}  // namespace

TProfileFile::TProfileFile(std::string path) : FilePath(std::move(path)) {
  // A file that cannot be read is left as an empty one, which is what settings fall
  // back to: every key at its default.
  Load(Lines, LineEnd);
}

const std::string& TProfileFile::Path() const { return FilePath; }

std::string TProfileFile::LastError() const { return Error; }

bool TProfileFile::Load(std::vector<std::string>& lines, std::string& lineEnd) const {
  lines.clear();
  lineEnd = "\r\n";
  std::ifstream in(FilePath, std::ios::binary);
  if (!in) {
    std::error_code ec;
    return !fs::exists(FilePath, ec) && !ec;
  }
  std::string content;
  try {
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    // libstdc++ throws from the read itself when the path is a folder.
    return false;
  }
  if (in.bad()) return false;
  // Written back in the style the file already uses: LF only when no line ends in CR LF.
  if (content.find("\r\n") == std::string::npos && content.find('\n') != std::string::npos)
    lineEnd = "\n";
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    // Every carriage return at a line's end goes: a value keeping one would be written
    // back as a CR LF line and turn the whole file to CR LF on the next read.
    while (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

bool TProfileFile::Save(const std::vector<std::string>& lines, const std::string& lineEnd) {
  std::error_code ec;
  // Writing through a link must keep the link and replace the file it points to.
  fs::path target = FilePath;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    target = fs::weakly_canonical(target, ec);
    if (ec) {
      Error = ec.message();
      return false;
    }
  }
  // The new text goes to a file beside the old one and then takes its name, so a write
  // that fails halfway (a full disk) leaves the old file whole.
  const fs::path temporary = target.string() + ".new";
  std::FILE* out = std::fopen(temporary.string().c_str(), "wb");
  if (out == nullptr) {
    Error = std::strerror(errno);
    return false;
  }
  errno = 0;
  bool written = true;
  for (const std::string& line : lines) {
    if (std::fwrite(line.data(), 1, line.size(), out) != line.size() ||
        std::fwrite(lineEnd.data(), 1, lineEnd.size(), out) != lineEnd.size()) {
      written = false;
      break;
    }
  }
  written = written && std::fflush(out) == 0;
  written = (std::fclose(out) == 0) && written;
  if (!written) {
    Error = errno != 0 ? std::strerror(errno) : "Write error";
    fs::remove(temporary, ec);
    return false;
  }
  const fs::file_status oldStatus = fs::status(target, ec);
  if (!ec && fs::exists(oldStatus)) fs::permissions(temporary, oldStatus.permissions(), ec);
  fs::rename(temporary, target, ec);
  if (ec) {
    Error = ec.message();
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

std::optional<std::string> TProfileFile::ReadString(std::string_view section,
                                                    std::string_view key) const {
  const TSectionSpan span = FindSection(Lines, section);
  if (!span.Found) return std::nullopt;
  for (size_t i = span.Begin; i < span.End; ++i) {
    const TParsedLine parsed = ParseLine(Lines[i]);
    if (parsed.Kind == TLineKind::Key && SameTextIgnoringCase(parsed.Name, key)) return std::string(parsed.Value);
  }
  return std::nullopt;
}

int32_t TProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                  int32_t defaultValue) const {
  const std::optional<std::string> value = ReadString(section, key);
  return value ? ParseProfileInteger(*value, defaultValue) : defaultValue;
}

std::vector<std::string> TProfileFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  const TSectionSpan span = FindSection(Lines, section);
  if (!span.Found) return keys;
  for (size_t i = span.Begin; i < span.End; ++i) {
    const TParsedLine parsed = ParseLine(Lines[i]);
    if (parsed.Kind != TLineKind::Key) continue;
    bool seen = false;
    for (const std::string& key : keys) seen = seen || SameTextIgnoringCase(key, parsed.Name);
    if (!seen) keys.emplace_back(parsed.Name);
  }
  return keys;
}

bool TProfileFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  if (!ValidName(section, "]\r\n") || !ValidKey(key) ||
      value.find_first_of("\r\n") != std::string_view::npos) {
    Error = "Invalid section, key or value";
    return false;
  }
  std::vector<std::string> lines;
  std::string lineEnd;
  errno = 0;
  if (!Load(lines, lineEnd)) {
    Error = errno != 0 ? std::strerror(errno) : "Read error";
    return false;
  }
  const std::string_view cleanKey = TrimBlanks(key);
  const std::string_view cleanValue = TrimBlanks(value);
  const TSectionSpan span = FindSection(lines, section);
  if (!span.Found) {
    if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + std::string(TrimBlanks(section)) + "]");
    lines.push_back(std::string(cleanKey) + "=" + std::string(cleanValue));
  } else {
    size_t insertAt = span.Begin;
    bool replaced = false;
    for (size_t i = span.Begin; i < span.End && !replaced; ++i) {
      const TParsedLine parsed = ParseLine(lines[i]);
      if (parsed.Kind != TLineKind::Key) continue;
      insertAt = i + 1;
      if (SameTextIgnoringCase(parsed.Name, cleanKey)) {
        // The leading blanks and the key's spelling stay as the operator wrote them.
        lines[i] = lines[i].substr(0, parsed.NameEnd) + "=" + std::string(cleanValue);
        replaced = true;
      }
    }
    if (!replaced)
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   std::string(cleanKey) + "=" + std::string(cleanValue));
  }
  if (!Save(lines, lineEnd)) return false;
  Lines = std::move(lines);
  LineEnd = std::move(lineEnd);
  Error.clear();
  return true;
}

bool TProfileFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
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
