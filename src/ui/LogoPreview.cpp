#include "ui/LogoPreview.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "logo/LogoImage.h"

namespace printset {

namespace {
constexpr int kCanvasHeight = 96;
constexpr int kFrame = 1;
}  // namespace

// White paper with the dots on it: enlarged by a whole factor, each dot a crisp square,
// when it fits that way; shrunk smoothly, greys standing for several dots, when not.
class TLogoPreview::TCanvas : public QWidget {
 public:
  explicit TCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("LogoPreviewCanvas");
    setMinimumHeight(kCanvasHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  }
  QImage Picture;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (Picture.isNull()) return;
    const QRect room = rect().adjusted(kFrame + 2, kFrame + 2, -kFrame - 2, -kFrame - 2);
    const double fit = std::min(static_cast<double>(room.width()) / Picture.width(),
                                static_cast<double>(room.height()) / Picture.height());
    const double scale = fit >= 1 ? std::floor(fit) : fit;
    const QSize size(std::max(1, static_cast<int>(Picture.width() * scale)),
                     std::max(1, static_cast<int>(Picture.height() * scale)));
    const QRect target(room.left() + (room.width() - size.width()) / 2,
                       room.top() + (room.height() - size.height()) / 2, size.width(), size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
    painter.drawImage(target, scale < 1 ? Picture.convertToFormat(QImage::Format_Grayscale8) : Picture);
  }
};

TLogoPreview::TLogoPreview(QWidget* parent) : QWidget(parent) {
  setObjectName("LogoPreview");
  Canvas = new TCanvas(this);
  SizeLabel = new QLabel(this);
  SizeLabel->setObjectName("LogoPreviewSize");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  column->addWidget(Canvas);
  column->addWidget(SizeLabel);
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
  Canvas->Picture = Picture;
  Canvas->update();
  SizeLabel->setText(caption);
}

QString TLogoPreview::Caption() const { return SizeLabel->text(); }

}  // namespace printset
