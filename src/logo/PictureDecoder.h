// What a platform's picture library does for the logo core: tell a picture file's size
// and decode its pixels. One implementation file per library: Qt's image reader
// (PictureDecoderQt.cpp, Linux); the core's rules around it are LoadPicture's.
#pragma once

#include <cstdint>
#include <vector>

namespace printset {

// A decoded picture: Width x Height pixels, row-major from the top row, each 0xAARRGGBB
// with straight (not premultiplied) alpha; 0xFF alpha throughout for a picture without
// an alpha channel, such as a 32-bit bitmap without an alpha mask, whatever its fourth
// byte holds.
struct TDecodedPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
};

class TPictureDecoder {
 public:
  virtual ~TPictureDecoder() = default;
  // The width and height the file's header announces, read without decoding any pixel:
  // false when the format gives none before decoding (the decoded size is checked then).
  // `bytes` is the whole file. Never throws.
  virtual bool AnnouncedSize(const std::vector<uint8_t>& bytes, int& width, int& height) const = 0;
  // Decodes the whole file, whatever its name, by its content, in any format the library
  // reads; false when it is no picture the library reads or it reads as empty. A file
  // cut short need not be refused here: LoadPicture checks completeness first. Never throws.
  virtual bool Decode(const std::vector<uint8_t>& bytes, TDecodedPicture& picture) const = 0;
};

// This platform's decoder (Qt's image reader on Linux). Defined by the platform's
// decoder file: only a program that links one may call it. Never fails.
const TPictureDecoder& SystemPictureDecoder();

}  // namespace printset
