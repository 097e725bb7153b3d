// The window as the operator first sees it, and the controls the logo list builds on.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <cstdlib>

#include "logo/LogoSet.h"

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
  // A dialog that cannot be resized, as large as its contents need.
  EXPECT_EQ(Window->minimumSize(), Window->maximumSize());
  EXPECT_EQ(Window->size(), Window->minimumSize());

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

  // The focus moves in the operator's order, and screen readers can name every control
  // the keyboard reaches.
  const QStringList wanted{"ComboPort", "ComboBaud",     "PageControl1", "btSet",        "ComboSetBaudRate",
                           "ComboCodePage", "edString", "btUpdate",     "btAddLogo",    "btDeleteLogo",
                           "ListLogo",  "btLOGO"};
  QStringList chain;
  QWidget* widget = Find<QWidget>("ComboPort");
  ASSERT_NE(widget, nullptr);
  for (int step = 0; step < 200 && chain.size() < wanted.size(); ++step, widget = widget->nextInFocusChain())
    if (wanted.contains(widget->objectName()) && !chain.contains(widget->objectName())) chain << widget->objectName();
  EXPECT_EQ(chain, wanted);
  for (const QString& name : wanted) {
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Find<QWidget>(name.toUtf8().constData()));
    ASSERT_NE(control, nullptr) << name.toStdString();
    EXPECT_FALSE(control->text(QAccessible::Name).trimmed().isEmpty()) << name.toStdString();
  }
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

// Each control is at least as wide and as high as its text in the font it is drawn
// with, and lies whole inside the window, in the desktop's font and in one half as large
// again (CTest runs this case once more with QT_SCALE_FACTOR=2 and QT_FONT_DPI=144).
TEST_F(WindowLayout, NoControlIsNarrowerThanItsText) {
  if (const char* scale = std::getenv("QT_SCALE_FACTOR")) {
    ASSERT_GE(qApp->devicePixelRatio(), std::atof(scale)) << "the scale factor did not take effect";
  }
  const QFont desktopFont = QApplication::font();
  ASSERT_GT(desktopFont.pointSizeF(), 0);
  WriteConfig("[CODEPAGE]\r\nPC863 (Canadian-French)=4\r\n");
  // A line edit keeps this many pixels on either side of its text.
  constexpr int kEditMargin = 2;
  for (const double fontScale : {1.0, 1.5}) {
    SCOPED_TRACE("font at " + std::to_string(fontScale));
    QFont font = desktopFont;
    font.setPointSizeF(desktopFont.pointSizeF() * fontScale);
    QApplication::setFont(font);
    OpenWindow();
    SetText("ComboPort", "/dev/ttyUSB0");
    SetText("ComboBaud", "115200");
    SetText("ComboSetBaudRate", "115200");
    Find<QLabel>("StatusPanel0")->setText(QString::fromStdString(FormatLogoSpace(16 * 1024 * 1024, 32 * 1024 * 1024)));
    auto* pages = Find<QTabWidget>("PageControl1");
    const QRect inWindow = Window->rect();

    int checked = 0;
    const auto check = [&](QWidget* control, const QString& text, int padding) {
      ++checked;
      SCOPED_TRACE(control->objectName().toStdString() + " \"" + text.toStdString() + "\"");
      const QFontMetrics metrics = control->fontMetrics();
      EXPECT_GE(control->width(), metrics.horizontalAdvance(text) + padding);
      EXPECT_GE(control->height(), metrics.height());
      const QRect placed(control->mapTo(Window.get(), QPoint(0, 0)), control->size());
      EXPECT_TRUE(inWindow.contains(placed)) << "placed at " << placed.x() << "," << placed.y() << " "
                                             << placed.width() << "x" << placed.height();
    };
    for (int page = 0; page < pages->count(); ++page) {
      pages->setCurrentIndex(page);
      RunUntilIdle();
      EXPECT_GE(pages->tabBar()->tabRect(page).width(),
                pages->tabBar()->fontMetrics().horizontalAdvance(pages->tabText(page)));
      for (QLabel* label : Window->findChildren<QLabel*>())
        if (label->isVisible() && !label->text().isEmpty()) check(label, label->text(), 0);
      for (QPushButton* button : Window->findChildren<QPushButton*>())
        if (button->isVisible()) check(button, button->text(), 0);
      for (QComboBox* box : Window->findChildren<QComboBox*>())
        if (box->isVisible())  // a box that takes no typing (DOTS) is measured whole
          check(box->isEditable() ? static_cast<QWidget*>(box->lineEdit()) : box, box->currentText(), 2 * kEditMargin);
      auto* digits = Find<QLineEdit>("edString");
      if (digits->isVisible()) check(digits, digits->displayText(), 2 * kEditMargin);
    }
    EXPECT_GE(checked, 20) << "controls on the three pages";
    EXPECT_EQ(Window->minimumSize(), Window->maximumSize()) << "still a dialog that cannot be resized";
    CloseWindow();
  }
  QApplication::setFont(desktopFont);
}

}  // namespace
}  // namespace printset
