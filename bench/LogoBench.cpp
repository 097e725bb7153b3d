#include "LogoBench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "base/FileIo.h"
#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"
#include "settings/AppPaths.h"
#include "ui/UniMain.h"

namespace printset {

namespace {

constexpr int kLogoRounds = 3;             // each figure is the best of this many
constexpr double kMinRoundSeconds = 0.2;   // a round repeats the conversion at least this long
constexpr int kNarrowWidth = 384;
constexpr int kWideWidth = 2048;
constexpr int64_t kDotsPerPicture = 384 * 1024;  // both pictures, so the figures compare
constexpr int kListedLogos = 9;
constexpr int kAddRounds = 5;

// A photo-like picture: a diagonal sweep through every grey and hue, with a fine pattern
// on top, so that no rule can take a shortcut over flat areas.
TPicture PhotoLike(int width, int height) {
  TPicture picture{width, height, {}};
  picture.Pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t red = static_cast<uint32_t>((x * 255) / width);
      const uint32_t green = static_cast<uint32_t>((y * 255) / height);
      const uint32_t blue = static_cast<uint32_t>(((x + y) * 7 + (x ^ y)) & 0xFF);
      picture.Pixels.push_back(blue << 16 | green << 8 | red);
    }
  return picture;
}

// Dots per second of packing `picture` under `rule`, the best of kLogoRounds rounds.
double DotsPerSecond(const TPicture& picture, TDotRule rule) {
  TLogoSettings settings;
  settings.LogoWidth = kMaxLogoWidth;
  settings.LogoSize = INT32_MAX;
  settings.Dots = rule;
  const double dots = static_cast<double>(picture.Width) * picture.Height;
  double best = 0;
  for (int round = 0; round < kLogoRounds; ++round) {
    const double start = WallSeconds();
    int64_t packed = 0;
    double elapsed = 0;
    do {
      std::vector<uint8_t> set;
      if (AppendLogo(set, picture, settings) != TLogoFailure::None) throw std::runtime_error("a logo did not pack");
      ++packed;
      elapsed = WallSeconds() - start;
    } while (elapsed < kMinRoundSeconds);
    best = std::max(best, dots * static_cast<double>(packed) / elapsed);
  }
  return best;
}

// Answers the ADD dialog with the next picture as soon as it shows, as an operator would
// type a name and press Open.
class TDialogHand : public QObject {
 public:
  std::string Next;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QFileDialog*>(watched);
    if (dialog && event->type() == QEvent::Show) {
      dialog->selectFile(QString::fromStdString(Next));
      if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(QString::fromStdString(Next));
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }
    return false;
  }
};

struct TAddFigures {
  double AddMs = 0;      // the click on ADD until it returns, nine logos listed
  double RebuildMs = 0;  // loading and packing the ten pictures alone
};

TAddFigures MeasureAdd(const std::string& folder) {
  const TPicture picture = PhotoLike(kNarrowWidth, 128);
  QImage image(picture.Width, picture.Height, QImage::Format_RGB32);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t c = picture.Pixels[static_cast<size_t>(y * picture.Width + x)];
      image.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
  std::vector<std::string> paths;
  for (int i = 0; i <= kListedLogos; ++i) {
    paths.push_back(folder + "logo" + std::to_string(i) + ".png");
    if (!image.save(QString::fromStdString(paths.back()), "PNG")) throw std::runtime_error("cannot write " + paths.back());
  }
  TAppPaths appPaths;
  appPaths.Portable = true;
  appPaths.ConfigFolder = folder;
  appPaths.StateFolder = folder;
  TLogoSettings settings;
  settings.LogoQuantity = kListedLogos + 1;
  settings.LogoSize = INT32_MAX;
  settings.Dots = TDotRule::FloydSteinberg;

  const std::string config = "[LOGO]\r\nSIZE=2000000000\r\nQUANTITY=" + std::to_string(kListedLogos + 1) +
                             "\r\nDOTS=floyd-steinberg\r\n";
  std::string error;
  if (!WriteFileAtomically(appPaths.ConfigFile(), config.data(), config.size(), error))
    throw std::runtime_error(error);
  settings.LogoSize = 2000000000;

  TDialogHand hand;
  qApp->installEventFilter(&hand);
  TAddFigures figures{1e9, 1e9};
  for (int round = 0; round < kAddRounds; ++round) {
    TfrmMain window(appPaths);
    window.show();
    auto* add = window.findChild<QAbstractButton*>("btAddLogo");
    auto* list = window.findChild<QListWidget*>("ListLogo");
    if (!add || !list) throw std::runtime_error("the window has no ADD button or logo list");
    for (int i = 0; i < kListedLogos; ++i) {
      hand.Next = paths[static_cast<size_t>(i)];
      add->click();
    }
    if (list->count() != kListedLogos) throw std::runtime_error("the list did not take nine logos");
    hand.Next = paths.back();
    const double start = WallSeconds();
    add->click();
    QApplication::processEvents();
    figures.AddMs = std::min(figures.AddMs, (WallSeconds() - start) * 1e3);
    if (list->count() != kListedLogos + 1) throw std::runtime_error("the tenth logo was not added");

    const double packStart = WallSeconds();
    const TLogoSetResult set = BuildLogoSet(paths, settings, PictureLoaderOn(SystemPictureDecoder()));
    figures.RebuildMs = std::min(figures.RebuildMs, (WallSeconds() - packStart) * 1e3);
    if (!set.Complete) throw std::runtime_error("the ten pictures did not pack");
  }
  qApp->removeEventFilter(&hand);
  return figures;
}

}  // namespace

void RunLogoBench(const std::string& folder) {
  std::printf("\n6. Logos: conversion (dot rule and packing) of a photo-like picture of %lld dots, best of %d\n",
              static_cast<long long>(kDotsPerPicture), kLogoRounds);
  std::printf("   %-18s %22s %10s %22s %10s\n", "rule", "384 dots wide", "x classic", "2048 dots wide", "x classic");
  const TPicture narrow = PhotoLike(kNarrowWidth, static_cast<int>(kDotsPerPicture / kNarrowWidth));
  const TPicture wide = PhotoLike(kWideWidth, static_cast<int>(kDotsPerPicture / kWideWidth));
  double classicNarrow = 0;
  double classicWide = 0;
  for (const TDotRule rule : kDotRules) {
    const double narrowRate = DotsPerSecond(narrow, rule);
    const double wideRate = DotsPerSecond(wide, rule);
    if (rule == TDotRule::Classic) {
      classicNarrow = narrowRate;
      classicWide = wideRate;
    }
    std::printf("   %-18s %14.1f M dots/s %9.2fx %14.1f M dots/s %9.2fx\n", DotRuleName(rule), narrowRate / 1e6,
                classicNarrow / narrowRate, wideRate / 1e6, classicWide / wideRate);
  }
  std::printf("   (x classic: how many times longer than classic the rule takes; goal: dithering within 3x)\n");
  const TAddFigures add = MeasureAdd(folder);
  std::printf("   ADD in the window with %d logos listed (384 x 128 PNG each, floyd-steinberg), best of %d:\n"
              "     %.1f ms, x%.2f loading and packing the %d pictures alone (%.1f ms)\n",
              kListedLogos, kAddRounds, add.AddMs, add.AddMs / add.RebuildMs, kListedLogos + 1, add.RebuildMs);
}

}  // namespace printset
