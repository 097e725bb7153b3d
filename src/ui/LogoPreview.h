// TLogoPreview: one logo as it will print, its dots black on white, with its place, size
// in dots and bytes beneath. Scaled by whole factors only, never smoothed, so that what
// is shown are dots: a small logo is enlarged, each dot a square of screen pixels; a logo
// larger than the canvas is shrunk by a whole divisor, a pixel black when any dot it
// stands for prints, and the scale ("1:2") is given beside the caption. What is shown
// comes from the logo list (TLogoList::Preview); the scale from FitWhole and ShrinkDots.
#pragma once

#include <QImage>
#include <QWidget>

#include "frontend/LogoList.h"

class QLabel;

namespace printset {

class TLogoPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TLogoPreview(QWidget* parent = nullptr);

  // Shows `logo`: its dots and caption. Never fails.
  void ShowLogo(const TLogoPreviewImage& logo);
  // The dots shown, one pixel each; a null image when nothing is shown.
  const QImage& Dots() const { return Picture; }
  // The picture drawn on the canvas before it is enlarged: Dots(), or Dots() shrunk by
  // the scale's divisor. Never fails.
  const QImage& Shown() const;
  // "N: W x H dots, B bytes", or "no logo".
  QString Caption() const;
  // "1:N" while the logo is shrunk by N to fit the canvas; empty otherwise.
  QString ScaleText() const;

 private:
  class TCanvas;
  TCanvas* Canvas = nullptr;
  QLabel* SizeLabel = nullptr;
  QLabel* ScaleLabel = nullptr;
  QImage Picture;
};

}  // namespace printset
