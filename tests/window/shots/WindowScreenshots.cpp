// Pictures of the window's three pages, drawn offscreen: `make screenshots` writes
// window-para.png, window-update.png and window-nvram.png into the folder given.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "settings/AppPaths.h"
#include "ui/UniMain.h"

namespace {

constexpr const char* kSampleConfig = "[CODEPAGE]\r\nPC437 (USA)=0\r\nKATAKANA=1\r\nPC850 (MULTILINGUAL)=2\r\n";
constexpr const char* kPageFiles[] = {"window-para.png", "window-update.png", "window-nvram.png"};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QString outFolder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
  QTemporaryDir folder;
  if (!folder.isValid() || !QDir().mkpath(outFolder)) {
    std::fprintf(stderr, "printset-screenshots: cannot make the folders\n");
    return 1;
  }
  const std::string configFolder = QDir(folder.path()).absolutePath().toStdString() + "/";
  std::ofstream(configFolder + "config.ini", std::ios::binary) << kSampleConfig;
  printset::TAppPaths paths;
  std::string reason;
  if (!printset::ResolveAppPaths(printset::ExecutableFolder(), configFolder, paths, reason)) {
    std::fprintf(stderr, "printset-screenshots: %s\n", reason.c_str());
    return 1;
  }
  printset::TfrmMain window(paths);
  window.show();
  window.findChild<QComboBox*>("ComboPort")->setCurrentText("COM1");
  auto* pages = window.findChild<QTabWidget*>("PageControl1");
  int failed = 0;
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    QApplication::processEvents();
    // A palette of at most 256 colours keeps the file small.
    const QImage picture = window.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    const QString path = QDir(outFolder).filePath(kPageFiles[page]);
    if (picture.save(path)) {
      std::printf("%s\n", path.toLocal8Bit().constData());
    } else {
      std::fprintf(stderr, "printset-screenshots: cannot write %s\n", path.toLocal8Bit().constData());
      ++failed;
    }
  }
  window.close();
  return failed == 0 ? 0 : 1;
}
