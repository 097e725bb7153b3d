// Reading a picture file into plain pixel data for the logo set.
#pragma once

#include <optional>
#include <string>

#include "ui/LogoSet.h"

namespace printset {

// std::nullopt when no file exists at the path (a folder is not a file); a TPicture of
// Width 0 when the file cannot be read as a picture. Any format Qt's image reader knows
// is read, whatever the file's extension: every BMP variant (1 to 32 bits per pixel,
// top-down or bottom-up, RLE4/RLE8, bit fields), PNG, GIF, JPEG and the rest of the
// installed image plugins. Each pixel keeps its stored colour: alpha is ignored rather
// than blended, so a 32-bit bitmap whose fourth byte is 0 reads as its RGB values.
std::optional<TPicture> LoadPicture(const std::string& path);

}  // namespace printset
