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

// `dots` (as DrawLogos made it: one bit per dot, 1 black) shrunk by the whole factor `divisor` (at least 1): each
// pixel stands for a `divisor` x `divisor` square of dots, partial at the right and bottom
// edges, and is black when any dot of its square is, so that no dot is lost from view.
// A null image for a null `dots` or one of another format.
QImage ShrinkDots(const QImage& dots, int divisor);

// The picture as PNG file bytes; false, with `error` set, when it cannot be encoded.
bool EncodePng(const QImage& image, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace printset
