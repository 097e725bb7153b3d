// The window program. It takes no arguments of its own (Qt's, such as -platform, work).
#include <QApplication>

#include "ui/UniMain.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  printset::TfrmMain frmMain;
  frmMain.show();
  return application.exec();
}
