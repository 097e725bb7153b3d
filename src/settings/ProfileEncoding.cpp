#include "settings/ProfileEncoding.h"

#include <array>

namespace printset {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252. The five bytes it leaves undefined stand for the
// control characters of the same number, as Windows converts them, so that every byte
// written into a UTF-16 file reads back as itself.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One character of text held as UTF-8 from `at` on; returns its length in bytes. Only
// text this file made is decoded, but a stray byte still gives one character (its value).
size_t NextCharacter(std::string_view text, size_t at, uint32_t& c) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(at);
  const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (lead < 0xC0 || at + length > text.size()) {
    c = lead;
    return 1;
  }
  c = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      c = lead;
      return 1;
    }
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  return length;
}

}  // namespace

std::string Utf16ToUtf8(const std::vector<uint8_t>& bytes, size_t begin, size_t end, bool bigEndian) {
  const auto unit = [&](size_t i) -> uint32_t {
    return bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8);
  };
  std::string text;
  text.reserve(end - begin);
  for (size_t i = begin; i + 1 < end; i += 2) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < end) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(text, c);
  }
  return text;
}

void AppendUtf16(std::string& out, std::string_view text, bool bigEndian) {
  const auto put = [&](uint32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (size_t i = 0; i < text.size();) {
    uint32_t c = 0;
    i += NextCharacter(text, i, c);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  for (const char ch : text) {
    const auto byte = static_cast<uint8_t>(ch);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte);
  }
  return out;
}

std::string Utf8ToWindows1252(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    uint32_t c = 0;
    i += NextCharacter(text, i, c);
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      out += static_cast<char>(c);
      continue;
    }
    char mapped = '?';
    for (size_t k = 0; k < kWindows1252High.size(); ++k)
      if (kWindows1252High[k] == c) mapped = static_cast<char>(0x80 + k);
    out += mapped;
    if (c >= 0x10000) out += '?';
  }
  return out;
}

}  // namespace printset
