// Reading a picture file into plain pixel data for the logo set: the rules every
// platform shares, around its picture decoder (PictureDecoder.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "logo/LogoSet.h"
#include "logo/PictureDecoder.h"

namespace printset {

// The most dots a picture may have to be read at all: 4 Mi, e.g. 2048 x 2048, or the
// widest logo (16384 dots) 256 rows high, eight times what the default logo room holds.
// A short file can announce any size, and the reader allocates it before it finds the
// data missing.
constexpr int64_t kMaxPictureDots = int64_t{4} * 1024 * 1024;
// The largest picture file read at all: room for the most dots at 32 bits each in any
// format, and a bound for a file that never ends (/proc) or reports no size.
constexpr uint64_t kMaxPictureFileSize = uint64_t{64} << 20;

// std::nullopt when no file exists at the path (a folder is not a file); a TPicture of
// Width 0 when the file cannot be read (more than kMaxPictureFileSize bytes, a device),
// cannot be read as a picture by `decoder` or is cut short (fewer rows or bytes than it
// announces: see PictureDataComplete). Any format the decoder knows is read, whatever
// the file's extension (with Qt's reader: every BMP variant, PNG, GIF, JPEG and the rest
// of the installed image plugins). A picture with an alpha channel is laid over white:
// straight alpha, each component c' = (c x a + 255 x (255 - a)) / 255; an opaque
// picture keeps its colours. A picture wider than kMaxLogoWidth, taller than
// kMaxLogoHeight or with more than kMaxPictureDots dots reads as Width 0 too, refused
// before it is decoded where the decoder can tell its size.
std::optional<TPicture> LoadPicture(const std::string& path, const TPictureDecoder& decoder);

// LoadPicture on `decoder` as the loader BuildLogoSet takes; `decoder` must outlive it.
TPictureLoader PictureLoaderOn(const TPictureDecoder& decoder);

}  // namespace printset
