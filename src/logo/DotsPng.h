// A picture of dots as a PNG file: black dots on white, one pixel a dot. One
// implementation file per platform's picture library (DotsPngQt.cpp: Qt's image writer).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logo/DotBitmap.h"

namespace printset {

// `dots` as PNG file bytes, one bit per pixel, colour 0 white and 1 black; false, with
// `error` set, when it cannot be encoded (a null bitmap among them).
bool EncodeDotsPng(const TDotBitmap& dots, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace printset
