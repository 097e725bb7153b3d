// The window as the operator first sees it, and the controls the logo list builds on.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <cstdlib>

#include "WindowFixture.h"

namespace printset {
namespace {

class WindowLayout : public TWindowTest {
 protected:
  QStringList Items(const char* comboName) {
    QStringList items;
    if (auto* box = Find<QComboBox>(comboName))
      for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }
  QString Caption(const char* name) {
    if (auto* button = Window->findChild<QAbstractButton*>(name)) return button->text();
    if (auto* label = Window->findChild<QLabel*>(name)) return label->text();
    ADD_FAILURE() << "no control " << name;
    return QString();
  }
};

TEST_F(WindowLayout, OpensWithItsControlsAndDefaults) {
  OpenWindow();
  EXPECT_EQ(Window->windowTitle(), "PRINT SET");
  EXPECT_EQ(Window->size(), QSize(370, 281));
  EXPECT_EQ(Window->minimumSize(), Window->maximumSize());

  const QStringList baudRates{"  4800", "  9600", " 19200", " 38400", " 57600", "115200"};
  EXPECT_EQ(Items("ComboBaud"), baudRates);
  EXPECT_EQ(Items("ComboSetBaudRate"), baudRates);
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentText(), "  9600");
  EXPECT_EQ(Find<QComboBox>("ComboSetBaudRate")->currentText(), "  9600");
  // The names always offered, then whatever devices this machine has.
  const QStringList ports = Items("ComboPort");
  EXPECT_EQ(ports.mid(0, 10),
            (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9", "TCP/IP"}));
  for (const QString& device : ports.mid(10)) EXPECT_TRUE(device.startsWith("/dev/")) << device.toStdString();
  for (const char* name : {"ComboPort", "ComboBaud", "ComboSetBaudRate", "ComboCodePage"})
    EXPECT_TRUE(Find<QComboBox>(name)->isEditable()) << name;

  auto* pages = Find<QTabWidget>("PageControl1");
  ASSERT_NE(pages, nullptr);
  ASSERT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->tabText(0), "PARA");
  EXPECT_EQ(pages->tabText(1), "UPDATE");
  EXPECT_EQ(pages->tabText(2), "NVRAM");
  EXPECT_EQ(pages->currentIndex(), 0);

  const std::vector<std::pair<const char*, const char*>> captions{
      {"Label5", "PORT:"},  {"Label6", "BAUD RATE:"}, {"Label3", "BAUD RATE:"},  {"Label1", "CODE PAGE"},
      {"Label2", "STRING"}, {"btSet", "SET"},         {"btUpdate", "PROGRAM"},   {"Label13", "LOGO:"},
      {"btAddLogo", "ADD"}, {"btDeleteLogo", "DELETE"}, {"btLOGO", "DOWNLOAD"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(Caption(name), caption) << name;
  EXPECT_EQ(Find<QListWidget>("ListLogo")->count(), 0);
}

TEST_F(WindowLayout, FocusMovesInTheOperatorsOrder) {
  OpenWindow();
  const QStringList wanted{"ComboPort", "ComboBaud",     "PageControl1", "btSet",        "ComboSetBaudRate",
                           "ComboCodePage", "edString", "btUpdate",     "btAddLogo",    "btDeleteLogo",
                           "ListLogo",  "btLOGO"};
  QStringList chain;
  QWidget* widget = Find<QWidget>("ComboPort");
  ASSERT_NE(widget, nullptr);
  for (int step = 0; step < 200 && chain.size() < wanted.size(); ++step, widget = widget->nextInFocusChain())
    if (wanted.contains(widget->objectName()) && !chain.contains(widget->objectName())) chain << widget->objectName();
  EXPECT_EQ(chain, wanted);
}

TEST_F(WindowLayout, LogoControlsFollowTheirActions) {
  OpenWindow();
  auto* add = Find<QAction>("actAddLogo");
  auto* remove = Find<QAction>("actDelete");
  auto* menu = Find<QMenu>("PopupMenu1");
  ASSERT_TRUE(add && remove && menu);
  const QList<QAction*> items = menu->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->objectName(), "ADD1");
  EXPECT_EQ(items[0]->text(), "ADD");
  EXPECT_TRUE(items[1]->isSeparator());
  EXPECT_EQ(items[2]->objectName(), "DELETE1");
  EXPECT_EQ(items[2]->text(), "DELETE");

  int addRuns = 0;
  QObject::connect(add, &QAction::triggered, [&] { ++addRuns; });
  Answerer.FileAnswers = {QString(), QString()};  // both picture dialogs cancelled
  Click("btAddLogo");
  items[0]->trigger();
  EXPECT_EQ(addRuns, 2);

  // The actions decide their state when the queue runs empty; with an empty list DELETE
  // is off, on its button and its menu item alike.
  RunUntilIdle();
  EXPECT_FALSE(remove->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("btDeleteLogo")->isEnabled());
  EXPECT_FALSE(items[2]->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("btAddLogo")->isEnabled());
  EXPECT_TRUE(items[0]->isEnabled());
}

// A picture of the window for the README: PRINTSET_WINDOW_SCREENSHOT=path/window.png.
TEST_F(WindowLayout, Screenshot) {
  const char* path = std::getenv("PRINTSET_WINDOW_SCREENSHOT");
  if (!path || !*path) GTEST_SKIP() << "set PRINTSET_WINDOW_SCREENSHOT to a .png path to take one";
  WriteConfig("[CODEPAGE]\r\nPC437 (USA)=0\r\nKATAKANA=1\r\nPC850 (MULTILINGUAL)=2\r\n");
  OpenWindow();
  SetText("ComboPort", "COM1");
  QApplication::processEvents();
  EXPECT_TRUE(Window->grab().save(QString::fromLocal8Bit(path)));
}

}  // namespace
}  // namespace printset
