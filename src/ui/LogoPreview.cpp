#include "ui/LogoPreview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "logo/LogoImage.h"

namespace printset {

namespace {

constexpr int kCanvasHeight = 96;
constexpr int kFrame = 1;
constexpr int kMargin = kFrame + 2;  // white paper between the frame and the dots

// The whole factors that fit `picture` into `room`: the largest enlargement when it fits
// as it is, else the smallest divisor that makes it fit.
struct TWholeScale {
  int Enlarge = 1;
  int Shrink = 1;
};

TWholeScale FitWhole(const QSize& picture, const QSize& room) {
  TWholeScale scale;
  if (picture.isEmpty() || room.isEmpty()) return scale;
  if (picture.width() <= room.width() && picture.height() <= room.height()) {
    scale.Enlarge = std::min(room.width() / picture.width(), room.height() / picture.height());
  } else {
    const auto over = [](int size, int space) { return (size + space - 1) / space; };
    scale.Shrink = std::max(over(picture.width(), room.width()), over(picture.height(), room.height()));
  }
  return scale;
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

  void SetPicture(const QImage& picture) {
    Picture = picture;
    Rescale();
    update();
  }

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
    Scale = FitWhole(Picture.size(), Room().size());
    Shown = Scale.Shrink > 1 ? ShrinkDots(Picture, Scale.Shrink) : Picture;
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
  ShowLogo({}, {}, -1);
}

void TLogoPreview::ShowLogo(const std::vector<uint8_t>& set, const TLogoSetContents& contents, int index) {
  QString caption = "no logo";
  Picture = QImage();
  if (index >= 0 && static_cast<size_t>(index) < contents.Logos.size()) {
    const TPackedLogo& logo = contents.Logos[static_cast<size_t>(index)];
    Picture = DrawLogos(set, {logo});
    caption = QString("%1: %2 x %3 dots, %4 bytes").arg(index + 1).arg(logo.Width()).arg(logo.Height).arg(logo.Size());
  }
  SizeLabel->setText(caption);
  Canvas->SetPicture(Picture);
}

const QImage& TLogoPreview::Shown() const { return Canvas->Shown; }

QString TLogoPreview::Caption() const { return SizeLabel->text(); }

QString TLogoPreview::ScaleText() const {
  return Canvas->Picture.isNull() || Canvas->Scale.Shrink <= 1 ? QString() : QString("1:%1").arg(Canvas->Scale.Shrink);
}

}  // namespace printset
