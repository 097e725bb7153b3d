// Where the NVRAM page's preview draws a logo on its canvas: the whole factors, the
// rectangle the dots cover, and the corner that says "1:N" while the logo is shrunk.
#pragma once

#include "logo/DotBitmap.h"

namespace printset::win32 {

// A rectangle in the canvas's pixels; empty when Width or Height is 0.
struct TPreviewBox {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool operator==(const TPreviewBox&) const = default;
};

struct TPreviewPlacement {
  TWholeScale Scale;
  // Where the dots go: the logo shrunk by Scale.Shrink (ShrinkDots), each of its pixels a
  // square of Scale.Enlarge screen pixels, centred in the room left for it.
  TPreviewBox Dots;
  // Where "1:N" is written, at the bottom right of the room; empty unless shrunk.
  TPreviewBox ScaleText;
};

// Places a `dotsWidth` x `dotsHeight` logo on a `canvasWidth` x `canvasHeight` canvas
// whose room is the canvas less `margin` pixels of paper on every side. A logo that is
// shrunk gives up the room's bottom `scaleTextHeight` rows to the scale's
// `scaleTextWidth` x `scaleTextHeight` text, so that no dot is hidden under it (unless
// nothing of the room would be left). Nothing is placed (empty boxes, scale 1 and 1) for
// an empty logo or room. Never fails.
TPreviewPlacement PlacePreview(int dotsWidth, int dotsHeight, int canvasWidth, int canvasHeight, int margin,
                               int scaleTextWidth, int scaleTextHeight);

}  // namespace printset::win32
