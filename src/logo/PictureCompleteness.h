// Whether a picture file holds all the data its own structure announces. Some readers
// (BMP, GIF, JPEG) fill what is missing from a file cut short with made-up rows rather
// than fail; a logo must never be packed from those.
#pragma once

#include <cstddef>
#include <cstdint>

namespace printset {

// False when a BMP file ends before the last pixel row its header announces (or, run-
// length encoded, before its end-of-picture mark or last line end), a GIF ends inside
// a block, or a JPEG has no end-of-image mark after its last scan. True for complete
// files and for everything else: other formats' readers refuse a cut file themselves,
// and what is no picture at all is left to the reader to refuse.
bool PictureDataComplete(const uint8_t* bytes, size_t size);

}  // namespace printset
