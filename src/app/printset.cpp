// The window program. Besides --help and --version it takes no arguments of its own
// (Qt's, such as -platform, work).
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "printset/Version.h"
#include "ui/UniMain.h"

namespace {

const char kUsage[] =
    "Usage: printset [QT-OPTION]...\n"
    "The PRINT SET window: sets a receipt printer's baud rate, code page and six-digit\n"
    "string, programs its firmware and downloads logos into it, over a serial line or UDP.\n"
    "\n"
    "  --help, -h      show this text\n"
    "  --version       show the version and the commit it was built from\n"
    "\n"
    "Qt's own options work as well, e.g. -platform offscreen.\n"
    "\n"
    "config.ini is read from the program's folder at start and its [LOGO] section written\n"
    "back at the end; debug.log and logo.bin are written there too.\n";

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before any window exists, so they work without a display.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs(printset::VersionLine("printset").c_str(), stdout);
      return 0;
    }
  }
  QApplication application(argc, argv);
  printset::TfrmMain frmMain;
  frmMain.show();
  return application.exec();
}
