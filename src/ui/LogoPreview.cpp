#include "ui/LogoPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "logo/DotBitmap.h"

namespace printset {

namespace {

constexpr int kCanvasHeight = 96;
constexpr int kFrame = 1;
constexpr int kMargin = kFrame + 2;  // white paper between the frame and the dots

// The bitmap as a one-bit image, colour 0 white and 1 black; null for a null bitmap.
QImage ToImage(const TDotBitmap& dots) {
  if (dots.IsNull()) return {};
  QImage image(dots.Width, dots.Height, QImage::Format_Mono);
  if (image.isNull()) return {};
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  image.fill(0);
  const size_t rowBytes = static_cast<size_t>(dots.RowBytes());
  for (int y = 0; y < dots.Height; ++y)
    std::memcpy(image.scanLine(y), dots.Bits.data() + static_cast<size_t>(y) * rowBytes, rowBytes);
  return image;
}

}  // namespace

// White paper with the dots on it, each drawn as a square of whole pixels; the scale is
// worked out again whenever the canvas changes size, and `Rescaled` tells the preview.
class TLogoPreview::TCanvas : public QWidget {
 public:
  explicit TCanvas(QWidget* parent, std::function<void()> rescaled) : QWidget(parent), Rescaled(std::move(rescaled)) {
    setObjectName("LogoPreviewCanvas");
    setMinimumHeight(kCanvasHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }

  void SetPicture(const TDotBitmap& dots, const QImage& picture) {
    Dots = dots;
    Picture = picture;
    Rescale();
    update();
  }

  TDotBitmap Dots;
  QImage Picture;
  QImage Shown;  // Picture, or Picture shrunk by Scale.Shrink
  TWholeScale Scale;

 protected:
  void resizeEvent(QResizeEvent*) override { Rescale(); }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (Shown.isNull()) return;
    const QRect room = Room();
    const QSize size = Shown.size() * Scale.Enlarge;
    const QRect target(room.left() + (room.width() - size.width()) / 2,
                       room.top() + (room.height() - size.height()) / 2, size.width(), size.height());
    // Nearest pixel at a whole factor: every dot becomes the same square, no grey between.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, Shown);
  }

 private:
  QRect Room() const { return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin); }

  void Rescale() {
    const QSize room = Room().size();
    Scale = FitWhole(Dots.Width, Dots.Height, room.width(), room.height());
    Shown = Scale.Shrink > 1 ? ToImage(ShrinkDots(Dots, Scale.Shrink)) : Picture;
    Rescaled();
  }

  std::function<void()> Rescaled;
};

TLogoPreview::TLogoPreview(QWidget* parent) : QWidget(parent) {
  setObjectName("LogoPreview");
  Canvas = new TCanvas(this, [this] { ScaleLabel->setText(ScaleText()); });
  SizeLabel = new QLabel(this);
  SizeLabel->setObjectName("LogoPreviewSize");
  ScaleLabel = new QLabel(this);
  ScaleLabel->setObjectName("LogoPreviewScale");
  ScaleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* captions = new QHBoxLayout;
  captions->setContentsMargins(0, 0, 0, 0);
  captions->addWidget(SizeLabel, 1);
  captions->addWidget(ScaleLabel);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(Canvas);
  column->addLayout(captions);
  ShowLogo({{}, "no logo"});
}

void TLogoPreview::ShowLogo(const TLogoPreviewImage& logo) {
  Picture = ToImage(logo.Dots);
  SizeLabel->setText(QString::fromStdString(logo.Caption));
  Canvas->SetPicture(logo.Dots, Picture);
}

const QImage& TLogoPreview::Shown() const { return Canvas->Shown; }

QString TLogoPreview::Caption() const { return SizeLabel->text(); }

QString TLogoPreview::ScaleText() const {
  return Canvas->Picture.isNull() || Canvas->Scale.Shrink <= 1 ? QString() : QString("1:%1").arg(Canvas->Scale.Shrink);
}

}  // namespace printset
