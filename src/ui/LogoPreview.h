// TLogoPreview: one logo as it will print, its dots black on white at the printer's
// resolution scaled to fit, with its place, size in dots and bytes beneath.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "logo/LogoSetReader.h"

class QLabel;

namespace printset {

class TLogoPreview : public QWidget {
  Q_OBJECT

 public:
  explicit TLogoPreview(QWidget* parent = nullptr);

  // Shows logo `index` (from 0) of `set`, which must have been read into `contents`, or
  // nothing when there is no such logo. Never fails.
  void ShowLogo(const std::vector<uint8_t>& set, const TLogoSetContents& contents, int index);
  // The dots shown, one pixel each; a null image when nothing is shown.
  const QImage& Dots() const { return Picture; }
  // "N: W x H dots, B bytes", or "no logo".
  QString Caption() const;

 private:
  class TCanvas;
  TCanvas* Canvas = nullptr;
  QLabel* SizeLabel = nullptr;
  QImage Picture;
};

}  // namespace printset
