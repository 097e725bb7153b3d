// The window program. Besides --help and --version it takes no arguments of its own
// (Qt's, such as -platform, work).
#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "printset/Version.h"
#include "settings/AppPaths.h"
#include "ui/MessageBoxes.h"
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
    "config.ini is read at start; its [LOGO] and [WINDOW] sections are written back at\n"
    "the end. With a config.ini beside the program in a folder you can write, every file\n"
    "stays there; otherwise config.ini is in $XDG_CONFIG_HOME/printset (~/.config/printset,\n"
    "made from the built-in sample on first run) and debug.log and logo.bin are in\n"
    "$XDG_STATE_HOME/printset (~/.local/state/printset). A config.ini without code pages\n"
    "gets the sample's with: printset-cli codepages --add\n";

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
  printset::TAppPaths paths;
  std::string reason;
  if (!printset::ResolveAppPaths(printset::ExecutableFolder(), "", paths, reason)) {
    std::fprintf(stderr, "printset: %s\n", reason.c_str());
    QMessageBox::critical(nullptr, printset::ApplicationTitle(), QString::fromLocal8Bit(reason.c_str()));
    return 1;
  }
  printset::TfrmMain frmMain(paths);
  frmMain.show();
  return application.exec();
}
