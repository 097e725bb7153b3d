#include "ui/win32/PreviewPlacementWin32.h"

#include <algorithm>

namespace printset::win32 {

TPreviewPlacement PlacePreview(int dotsWidth, int dotsHeight, int canvasWidth, int canvasHeight, int margin,
                               int scaleTextWidth, int scaleTextHeight) {
  TPreviewPlacement placement;
  const int roomWidth = canvasWidth - 2 * margin;
  const int roomHeight = canvasHeight - 2 * margin;
  if (dotsWidth <= 0 || dotsHeight <= 0 || roomWidth <= 0 || roomHeight <= 0) return placement;
  placement.Scale = FitWhole(dotsWidth, dotsHeight, roomWidth, roomHeight);
  int dotsRoomHeight = roomHeight;
  if (placement.Scale.Shrink > 1 && scaleTextHeight < roomHeight) {
    dotsRoomHeight = roomHeight - scaleTextHeight;
    placement.Scale = FitWhole(dotsWidth, dotsHeight, roomWidth, dotsRoomHeight);
    const int textWidth = std::min(scaleTextWidth, roomWidth);
    placement.ScaleText = {margin + roomWidth - textWidth, margin + dotsRoomHeight, textWidth, scaleTextHeight};
  }
  // ShrinkDots keeps the partial squares at the right and bottom edges.
  const int shrink = placement.Scale.Shrink;
  const int width = (dotsWidth + shrink - 1) / shrink * placement.Scale.Enlarge;
  const int height = (dotsHeight + shrink - 1) / shrink * placement.Scale.Enlarge;
  placement.Dots = {margin + (roomWidth - width) / 2, margin + (dotsRoomHeight - height) / 2, width, height};
  return placement;
}

}  // namespace printset::win32
