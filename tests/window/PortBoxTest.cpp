// The PORT box: made afresh from the plugged-in devices each time it opens, wide enough
// for whole paths, and the whole path of what it holds in its tooltip.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QScrollBar>
#include <QWidget>
#include <string>
#include <vector>

#include "ui/PortComboBox.h"

namespace printset {
namespace {

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

TEST(PortBox, ListedAfreshAtEachOpeningWithTheTextKept) {
  const std::string adapter = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller_D-if00-port0";
  std::vector<TPortEntry> plugged = {{"COM1", ""}, {"TCP/IP", ""}};
  int listings = 0;
  QWidget window;
  TPortComboBox box(&window, [&] {
    ++listings;
    return plugged;
  });
  box.setGeometry(0, 0, 72, 24);
  window.show();
  box.Refresh();
  box.setCurrentIndex(0);
  box.SetPortMap({{"COM1", "/dev/ttyUSB7"}});
  EXPECT_EQ(box.toolTip().toStdString(), "/dev/ttyUSB7") << "the device COM1 stands for";

  // Plugged in while the window is open: there when the list opens, typed text untouched.
  box.setEditText("/dev/pts/9");
  plugged.push_back({adapter, "/dev/ttyUSB0, USB-Serial Controller D, 067b:2303"});
  box.showPopup();
  EXPECT_EQ(listings, 2);
  EXPECT_EQ(Items(box), (QStringList{"COM1", "TCP/IP", QString::fromStdString(adapter)}));
  EXPECT_EQ(box.currentText(), "/dev/pts/9");
  EXPECT_EQ(box.itemData(2, Qt::ToolTipRole).toString(), "/dev/ttyUSB0, USB-Serial Controller D, 067b:2303");
  EXPECT_FALSE(box.itemData(0, Qt::ToolTipRole).isValid());
  EXPECT_GE(box.view()->width(), box.view()->fontMetrics().horizontalAdvance(QString::fromStdString(adapter)));
  box.hidePopup();

  box.setCurrentIndex(2);
  EXPECT_EQ(box.toolTip().toStdString(), adapter);

  // Many adapters after the fixed names: the open list shows every one without scrolling.
  for (int i = 0; i < 14; ++i) plugged.push_back({"/dev/ttyUSB" + std::to_string(i), ""});
  box.showPopup();
  ASSERT_EQ(box.count(), 17);
  EXPECT_EQ(box.view()->verticalScrollBar()->maximum(), 0);
  EXPECT_GE(box.view()->height(), 17 * box.view()->sizeHintForRow(0));
  box.hidePopup();
  plugged.resize(3);

  // Unplugged: gone at the next opening, while the box still names it.
  plugged.pop_back();
  box.showPopup();
  EXPECT_EQ(Items(box), (QStringList{"COM1", "TCP/IP"}));
  EXPECT_EQ(box.currentText().toStdString(), adapter);
  box.hidePopup();
}

}  // namespace
}  // namespace printset
