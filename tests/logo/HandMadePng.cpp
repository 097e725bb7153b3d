#include "HandMadePng.h"

#include <algorithm>

namespace printset {

namespace {

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const char byte : bytes) {
    crc ^= static_cast<uint8_t>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBe32(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& file, const char* type, const std::string& data) {
  PutBe32(file, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  file += typed;
  PutBe32(file, Crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks: every reader must take them, and
// no compression library is needed to write them.
std::string StoredZlib(const std::string& raw) {
  constexpr size_t kMaxStoredBlock = 65535;
  std::string out("\x78\x01", 2);
  size_t at = 0;
  do {
    const size_t size = std::min(kMaxStoredBlock, raw.size() - at);
    out += static_cast<char>(at + size == raw.size() ? 1 : 0);  // last block?, stored
    out += static_cast<char>(size & 0xFF);
    out += static_cast<char>(size >> 8);
    out += static_cast<char>(~size & 0xFF);
    out += static_cast<char>((~size >> 8) & 0xFF);
    out += raw.substr(at, size);
    at += size;
  } while (at < raw.size());
  uint32_t a = 1;
  uint32_t b = 0;
  for (const char byte : raw) {
    a = (a + static_cast<uint8_t>(byte)) % 65521;
    b = (b + a) % 65521;
  }
  PutBe32(out, b << 16 | a);
  return out;
}

int SamplesPerPixel(TPngColourType type) {
  switch (type) {
    case TPngColourType::Grey:
    case TPngColourType::Palette: return 1;
    case TPngColourType::GreyAlpha: return 2;
    case TPngColourType::Rgb: return 3;
    case TPngColourType::Rgba: return 4;
  }
  return 1;
}

}  // namespace

std::string EncodePng(const TPngPicture& picture) {
  std::string file("\x89PNG\r\n\x1A\n", 8);
  std::string header;
  PutBe32(header, static_cast<uint32_t>(picture.Width));
  PutBe32(header, static_cast<uint32_t>(picture.Height));
  header += '\x08';  // bits per sample
  header += static_cast<char>(picture.Type);
  header += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
  PutChunk(file, "IHDR", header);
  if (!picture.Palette.empty()) PutChunk(file, "PLTE", std::string(picture.Palette.begin(), picture.Palette.end()));
  if (!picture.Alpha.empty()) PutChunk(file, "tRNS", std::string(picture.Alpha.begin(), picture.Alpha.end()));
  const size_t rowSize = static_cast<size_t>(picture.Width * SamplesPerPixel(picture.Type));
  std::string raw;
  for (int y = 0; y < picture.Height; ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(picture.Samples.data()) + y * rowSize, rowSize);
  }
  PutChunk(file, "IDAT", StoredZlib(raw));
  PutChunk(file, "IEND", "");
  return file;
}

}  // namespace printset
