#include "ui/UniLayout.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include "ports/PortEntries.h"
#include "ports/PortList.h"
#include "settings/BaudRates.h"
#include "ui/BaudRateBox.h"
#include "ui/LogoPage.h"
#include "ui/PortComboBox.h"

namespace printset {

namespace {

constexpr int kClientWidth = 370;
constexpr int kClientHeight = 281;
constexpr int kWindowLeft = 192;
constexpr int kWindowTop = 114;
constexpr int kStripHeight = 41;
constexpr int kStatusBarHeight = 23;
constexpr int kStatusPanel0Width = 200;
constexpr int kStatusPanel1Width = 50;
constexpr int kWindowFontHeight = 19;
constexpr int kStripFontHeight = 16;

// The font's character cell, ascent plus descent, is `cellHeight` pixels high.
QFont MonospaceFont(int cellHeight) {
  QFont font;
  // Courier New where it is installed; otherwise the nearest fixed-pitch face.
  font.setFamilies({"Courier New", "Liberation Mono", "Nimbus Mono PS", "DejaVu Sans Mono"});
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  for (int pixels = cellHeight; pixels > 1; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).height() <= cellHeight) break;
  }
  return font;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

// An editable box that never adds what the operator types to its own items: the items
// of the code page box must stay aligned with the table of values.
QComboBox* NewComboBox(QWidget* parent, const char* name, int left, int top, int width) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setGeometry(left, top, width, box->sizeHint().height());
  return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                       int height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setGeometry(left, top, width, height);
  return button;
}

QAction* NewAction(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(name);
  return action;
}

// A button or menu item that stands for an action: it shows the action's caption and
// enabled state and runs the action, as controls linked to an action list do.
void FollowAction(QAbstractButton* button, QAction* action) {
  const auto sync = [button, action] {
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
  };
  sync();
  QObject::connect(action, &QAction::changed, button, sync);
  QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

void FollowAction(QAction* item, QAction* action) {
  const auto sync = [item, action] {
    item->setText(action->text());
    item->setEnabled(action->isEnabled());
  };
  sync();
  QObject::connect(action, &QAction::changed, item, sync);
  QObject::connect(item, &QAction::triggered, action, [action] { action->trigger(); });
}

QStringList PictureFilters() {
  QStringList patterns;
  for (const QByteArray& format : QImageReader::supportedImageFormats())
    patterns << "*." + QString::fromLatin1(format);
  return {"All pictures (" + patterns.join(' ') + ")", "Bitmaps (*.bmp)", "All files (*)"};
}

}  // namespace

TMainControls LayOutWindow(QWidget& window, const std::string& configFolder) {
  TMainControls c;
  window.setObjectName("frmMain");
  window.setWindowTitle("PRINT SET");
  window.setFont(MonospaceFont(kWindowFontHeight));
  window.setFixedSize(kClientWidth, kClientHeight);
  window.move(kWindowLeft, kWindowTop);

  c.Panel1 = new QWidget(&window);
  c.Panel1->setObjectName("Panel1");
  c.Panel1->setGeometry(0, 0, kClientWidth, kStripHeight);
  c.Panel1->setFont(MonospaceFont(kStripFontHeight));
  c.Label5 = NewLabel(c.Panel1, "Label5", "PORT:", 8, 8);
  c.ComboPort = new TPortComboBox(c.Panel1, [] { return PortBoxEntries(ListSerialPorts()); });
  c.ComboPort->setObjectName("ComboPort");
  c.ComboPort->setGeometry(59, 4, 72, c.ComboPort->sizeHint().height());
  c.ComboPort->Refresh();
  c.ComboPort->setCurrentIndex(0);
  c.Label6 = NewLabel(c.Panel1, "Label6", "BAUD RATE:", 150, 8);
  c.ComboBaud = NewComboBox(c.Panel1, "ComboBaud", 250, 4, 91);
  c.ComboBaud->addItems(BaudRateItems());
  c.ComboBaud->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));

  c.PageControl1 = new QTabWidget(&window);
  c.PageControl1->setObjectName("PageControl1");
  c.PageControl1->setGeometry(0, kStripHeight, kClientWidth, kClientHeight - kStripHeight - kStatusBarHeight);
  c.TabSheet1 = new QWidget;
  c.TabSheet1->setObjectName("TabSheet1");
  c.TabSheet2 = new QWidget;
  c.TabSheet2->setObjectName("TabSheet2");
  c.PageControl1->addTab(c.TabSheet1, "PARA");
  c.PageControl1->addTab(c.TabSheet2, "UPDATE");

  c.Label3 = NewLabel(c.TabSheet1, "Label3", "BAUD RATE:", -1, 8);
  c.ComboSetBaudRate = NewComboBox(c.TabSheet1, "ComboSetBaudRate", 106, 4, 91);
  c.ComboSetBaudRate->addItems(BaudRateItems());
  c.ComboSetBaudRate->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));
  c.Label1 = NewLabel(c.TabSheet1, "Label1", "CODE PAGE", 1, 43);
  c.ComboCodePage = NewComboBox(c.TabSheet1, "ComboCodePage", 106, 39, 239);
  c.Label2 = NewLabel(c.TabSheet1, "Label2", "STRING", 33, 80);
  c.edString = new QLineEdit(c.TabSheet1);
  c.edString->setObjectName("edString");
  // Six positions, each a digit or left blank; a blank reads back as a space through
  // displayText() (text() drops them).
  c.edString->setInputMask("000000; ");
  c.edString->setGeometry(104, 76, 120, c.edString->sizeHint().height());
  c.btSet = NewButton(c.TabSheet1, "btSet", "SET", 32, 112, 75, 25);

  c.btUpdate = NewButton(c.TabSheet2, "btUpdate", "PROGRAM", 80, 24, 89, 25);

  // Made inside the tab widget, so that its controls are measured in the window's font.
  c.TabSheet3 = new TLogoPage(configFolder, c.PageControl1);
  c.TabSheet3->setObjectName("TabSheet3");
  c.PageControl1->addTab(c.TabSheet3, "NVRAM");

  c.StatusBar1 = new QStatusBar(&window);
  c.StatusBar1->setObjectName("StatusBar1");
  c.StatusBar1->setSizeGripEnabled(false);
  // The panels use the desktop's own status font; a 19-pixel fixed-pitch face would not
  // fit the progress text into its panel.
  c.StatusBar1->setFont(QApplication::font());
  c.StatusBar1->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
  c.StatusPanel0 = new QLabel(c.StatusBar1);
  c.StatusPanel0->setObjectName("StatusPanel0");
  c.StatusPanel0->setFixedWidth(kStatusPanel0Width);
  c.StatusPanel1 = new QLabel(c.StatusBar1);
  c.StatusPanel1->setObjectName("StatusPanel1");
  c.StatusPanel1->setMinimumWidth(kStatusPanel1Width);
  c.StatusBar1->addWidget(c.StatusPanel0);
  c.StatusBar1->addWidget(c.StatusPanel1, 1);

  c.OpenDialog1 = new QFileDialog(&window);
  c.OpenDialog1->setObjectName("OpenDialog1");
  // Qt's own dialog, so that it behaves the same on every desktop and a test can answer it.
  c.OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  c.OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  c.OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  // The captions read "BINARY FILE(*.bin)" and "ALL FILE(*.*)", but "*.*" would hide files
  // without a dot here: each entry carries its real pattern last, and only the part
  // before it is shown.
  c.OpenDialog1->setOption(QFileDialog::HideNameFilterDetails);
  c.OpenDialog1->setNameFilters({"BINARY FILE(*.bin) (*.bin)", "ALL FILE(*.*) (*)"});

  QWidget::setTabOrder(c.ComboPort, c.ComboBaud);
  QWidget::setTabOrder(c.ComboBaud, c.PageControl1);
  QWidget::setTabOrder(c.PageControl1, c.btSet);
  QWidget::setTabOrder(c.btSet, c.ComboSetBaudRate);
  QWidget::setTabOrder(c.ComboSetBaudRate, c.ComboCodePage);
  QWidget::setTabOrder(c.ComboCodePage, c.edString);
  QWidget::setTabOrder(c.edString, c.btUpdate);
  c.TabSheet3->PlaceInFocusChainAfter(c.btUpdate);
  c.ComboPort->setFocus();
  return c;
}

TLogoPageControls LayOutLogoPage(QWidget& page) {
  TLogoPageControls c;
  c.Label13 = NewLabel(&page, "Label13", "LOGO:", 16, 16);
  c.ActionList1 = new QObject(&page);
  c.ActionList1->setObjectName("ActionList1");
  c.actAddLogo = NewAction(c.ActionList1, "actAddLogo", "ADD");
  c.actDelete = NewAction(c.ActionList1, "actDelete", "DELETE");
  c.btAddLogo = NewButton(&page, "btAddLogo", QString(), 152, 8, 57, 25);
  FollowAction(c.btAddLogo, c.actAddLogo);
  c.btDeleteLogo = NewButton(&page, "btDeleteLogo", QString(), 240, 8, 75, 25);
  FollowAction(c.btDeleteLogo, c.actDelete);
  c.ListLogo = new QListWidget(&page);
  c.ListLogo->setObjectName("ListLogo");
  c.ListLogo->setGeometry(16, 38, 321, 110);
  c.btLOGO = NewButton(&page, "btLOGO", "DOWNLOAD", 16, 156, 97, 25);

  c.PopupMenu1 = new QMenu(&page);
  c.PopupMenu1->setObjectName("PopupMenu1");
  c.ADD1 = NewAction(c.PopupMenu1, "ADD1", QString());
  FollowAction(c.ADD1, c.actAddLogo);
  c.N1 = NewAction(c.PopupMenu1, "N1", QString());
  c.N1->setSeparator(true);
  c.DELETE1 = NewAction(c.PopupMenu1, "DELETE1", QString());
  FollowAction(c.DELETE1, c.actDelete);
  c.PopupMenu1->addActions({c.ADD1, c.N1, c.DELETE1});
  c.ListLogo->setContextMenuPolicy(Qt::CustomContextMenu);

  c.OpenPictureDialog1 = new QFileDialog(&page);
  c.OpenPictureDialog1->setObjectName("OpenPictureDialog1");
  c.OpenPictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
  c.OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name need not exist: the logo list reports a missing file itself.
  c.OpenPictureDialog1->setFileMode(QFileDialog::AnyFile);
  c.OpenPictureDialog1->setNameFilters(PictureFilters());
  return c;
}

void ChainLogoPageFocus(const TLogoPageControls& controls, QWidget* previous) {
  QWidget::setTabOrder(previous, controls.btAddLogo);
  QWidget::setTabOrder(controls.btAddLogo, controls.btDeleteLogo);
  QWidget::setTabOrder(controls.btDeleteLogo, controls.ListLogo);
  QWidget::setTabOrder(controls.ListLogo, controls.btLOGO);
}

}  // namespace printset
