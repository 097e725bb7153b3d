#include "logo/PictureCompleteness.h"

#include <algorithm>
#include <cstdlib>

namespace printset {

namespace {

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpCoreHeaderSize = 12;  // the old OS/2 header: 16-bit width and height
constexpr size_t kBmpInfoHeaderSize = 40;
constexpr uint32_t kBmpRle8 = 1;
constexpr uint32_t kBmpRle4 = 2;
constexpr uint32_t kBmpBitFields = 3;
constexpr uint32_t kBmpAlphaBitFields = 6;

constexpr size_t kGifHeaderSize = 13;  // signature, version and logical screen descriptor
constexpr size_t kGifImageDescriptorSize = 10;
constexpr uint8_t kGifExtension = 0x21;
constexpr uint8_t kGifImage = 0x2C;
constexpr uint8_t kGifTrailer = 0x3B;
constexpr uint8_t kGifColourTableFlag = 0x80;

constexpr uint8_t kJpegMarker = 0xFF;
constexpr uint8_t kJpegStartOfScan = 0xDA;
constexpr uint8_t kJpegEndOfImage = 0xD9;

uint32_t Le16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return Le16(p) | Le16(p + 2) << 16; }

// The run-length stream ends with its end-of-picture mark, or at least with the end of
// its last line; a file cut inside a run or before the last line is short.
bool RunLengthComplete(const uint8_t* data, size_t size, uint64_t height, bool fourBits) {
  uint64_t lineEnds = 0;
  size_t i = 0;
  while (i + 2 <= size) {
    const uint8_t count = data[i];
    const uint8_t code = data[i + 1];
    i += 2;
    if (count > 0) continue;  // a run: count pixels of one value
    if (code == 0) {
      ++lineEnds;
    } else if (code == 1) {
      return true;
    } else if (code == 2) {
      if (i + 2 <= size) lineEnds += data[i + 1];  // a move right and down: its lines count as ended
      i += 2;
    } else {
      // `code` pixels stored as they are, padded to a 16-bit boundary.
      const size_t bytes = fourBits ? (code + 1u) / 2u : code;
      i += bytes + bytes % 2;
    }
  }
  return i <= size && lineEnds >= height;
}

bool BmpComplete(const uint8_t* bytes, size_t size) {
  if (size < kBmpFileHeaderSize + 4) return false;
  const uint32_t headerSize = Le32(bytes + kBmpFileHeaderSize);
  const uint8_t* header = bytes + kBmpFileHeaderSize;
  uint64_t width = 0;
  uint64_t height = 0;
  uint32_t bitsPerPixel = 0;
  uint32_t compression = 0;
  if (headerSize == kBmpCoreHeaderSize) {
    if (size < kBmpFileHeaderSize + kBmpCoreHeaderSize) return false;
    width = Le16(header + 4);
    height = Le16(header + 6);
    bitsPerPixel = Le16(header + 10);
  } else if (headerSize >= kBmpInfoHeaderSize) {
    if (size < kBmpFileHeaderSize + kBmpInfoHeaderSize) return false;
    width = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(Le32(header + 4))));
    height = static_cast<uint64_t>(std::llabs(static_cast<int32_t>(Le32(header + 8))));
    bitsPerPixel = Le16(header + 14);
    compression = Le32(header + 16);
  } else {
    return true;  // no header the reader knows: it refuses the file itself
  }
  // Pixel data never starts inside the headers, whatever the offset field claims.
  const uint64_t offset = std::max<uint64_t>(Le32(bytes + 10), kBmpFileHeaderSize + headerSize);
  if (width == 0 || height == 0) return true;
  if (offset > size) return false;
  const size_t dataSize = size - static_cast<size_t>(offset);
  if (compression == kBmpRle8 || compression == kBmpRle4)
    return RunLengthComplete(bytes + offset, dataSize, height, compression == kBmpRle4);
  if (compression != 0 && compression != kBmpBitFields && compression != kBmpAlphaBitFields) return true;
  if (bitsPerPixel == 0 || bitsPerPixel > 32) return true;
  // Every row is padded to whole 32-bit words; the last row's padding may be left out.
  const uint64_t rowBytes = (width * bitsPerPixel + 7) / 8;
  const uint64_t stride = (width * bitsPerPixel + 31) / 32 * 4;
  if (rowBytes > dataSize) return false;
  // Divided rather than multiplied, so that no announced size can overflow.
  return (height - 1) <= (dataSize - rowBytes) / stride;
}

// Sub-blocks: a length byte and that many bytes, until a length of 0. Returns the
// offset past them, or 0 when the file ends first.
size_t SkipGifSubBlocks(const uint8_t* bytes, size_t size, size_t i) {
  while (i < size) {
    const uint8_t length = bytes[i];
    i += 1 + length;
    if (length == 0) return i;
  }
  return 0;
}

size_t GifColourTableBytes(uint8_t flags) {
  return (flags & kGifColourTableFlag) ? 3u * (2u << (flags & 0x07)) : 0u;
}

bool GifComplete(const uint8_t* bytes, size_t size) {
  if (size < kGifHeaderSize) return false;
  size_t i = kGifHeaderSize + GifColourTableBytes(bytes[10]);
  // A file may end right after a whole block, without its trailer: nothing announced is missing.
  while (i < size) {
    const uint8_t block = bytes[i];
    if (block == kGifTrailer) return true;
    if (block == kGifExtension) {
      if (i + 2 > size) return false;
      i = SkipGifSubBlocks(bytes, size, i + 2);
    } else if (block == kGifImage) {
      if (i + kGifImageDescriptorSize > size) return false;
      i += kGifImageDescriptorSize + GifColourTableBytes(bytes[i + 9]);
      i = i + 1 <= size ? SkipGifSubBlocks(bytes, size, i + 1) : 0;  // past the code size byte
    } else {
      return true;  // not a block: the reader decides what it makes of it
    }
    if (i == 0) return false;
  }
  return i == size;
}

// Inside a scan 0xFF is always followed by 0x00 or a restart mark, so an end-of-image
// mark after the last start of scan is the end of the real image data.
bool JpegComplete(const uint8_t* bytes, size_t size) {
  bool scanSeen = false;
  bool endAfterScan = false;
  for (size_t i = 0; i + 1 < size; ++i) {
    if (bytes[i] != kJpegMarker) continue;
    if (bytes[i + 1] == kJpegStartOfScan) {
      scanSeen = true;
      endAfterScan = false;
    } else if (bytes[i + 1] == kJpegEndOfImage) {
      endAfterScan = scanSeen;
    }
  }
  return !scanSeen || endAfterScan;
}

bool StartsWith(const uint8_t* bytes, size_t size, const char* magic, size_t length) {
  if (size < length) return false;
  for (size_t i = 0; i < length; ++i)
    if (bytes[i] != static_cast<uint8_t>(magic[i])) return false;
  return true;
}

}  // namespace

bool PictureDataComplete(const uint8_t* bytes, size_t size) {
  if (StartsWith(bytes, size, "BM", 2)) return BmpComplete(bytes, size);
  if (StartsWith(bytes, size, "GIF87a", 6) || StartsWith(bytes, size, "GIF89a", 6)) return GifComplete(bytes, size);
  if (StartsWith(bytes, size, "\xFF\xD8\xFF", 3)) return JpegComplete(bytes, size);
  return true;
}

}  // namespace printset
