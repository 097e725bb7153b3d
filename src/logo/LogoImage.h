// Logos of a packed set as a picture of what prints: one pixel per dot, black for a dot,
// white for none.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "logo/LogoSetReader.h"

namespace printset {

// White rows between two logos of one picture: one 8-row band.
constexpr int kLogoGapRows = 8;

// The logos one under another from the top, each at the left edge, kLogoGapRows white
// rows between two, as wide as the widest; one bit per pixel, colour 0 white and 1 black.
// A null image when `logos` is empty or the picture cannot be allocated. `logos` must
// come from ReadLogoSet(set).
QImage DrawLogos(const std::vector<uint8_t>& set, const std::vector<TPackedLogo>& logos);

// The picture as PNG file bytes; false, with `error` set, when it cannot be encoded.
bool EncodePng(const QImage& image, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace printset
