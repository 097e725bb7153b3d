#include "ui/UniLayout.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "logo/LogoSet.h"
#include "ports/PortEntries.h"
#include "ports/PortList.h"
#include "report/ProgressText.h"
#include "settings/BaudRates.h"
#include "ui/BaudRateBox.h"
#include "ui/LogoPage.h"
#include "ui/PortComboBox.h"

namespace printset {

namespace {

constexpr int kWindowLeft = 192;
constexpr int kWindowTop = 114;
// The longest texts each box is made wide enough for; longer ones are whole in the box's
// list and its tooltip.
constexpr const char* kPortWidthText = "/dev/ttyUSB0";
constexpr const char* kBaudWidthText = "115200";
constexpr const char* kCodePageWidthText = "PC863 (Canadian-French)";
constexpr const char* kStringWidthText = "000000";
// The list shows this many logo entries, each this many average characters wide, before
// it scrolls.
constexpr int kLogoListLines = 5;
constexpr int kLogoListCharacters = 36;
// The progress and space texts of status panel 0 at their longest: 16 MiB transferred,
// the printer's room for logos at 16 MiB.
constexpr int32_t kLongestTransfer = 16 * 1024 * 1024;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

// The width a text needs inside a box drawn with `box`'s style and font: the box's own
// frame, arrow and margins come on top.
int BoxWidthFor(QWidget* box, const QString& text, QStyle::ContentsType type) {
  const QFontMetrics metrics = box->fontMetrics();
  // An editable field keeps a few pixels either side of its text; a blank's width covers them.
  const QSize contents(metrics.horizontalAdvance(text + "  "), metrics.height());
  if (type == QStyle::CT_ComboBox) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = true;
    return box->style()->sizeFromContents(type, &option, contents, box).width();
  }
  QStyleOptionFrame option;
  option.initFrom(box);
  option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
  return box->style()->sizeFromContents(type, &option, contents, box).width();
}

// An editable box that never adds what the operator types to its own items: the items
// of the code page box must stay aligned with the table of values. It is as wide as
// `widthText` needs, whatever its items.
QComboBox* NewComboBox(QWidget* parent, const char* name, const char* widthText, QComboBox* box = nullptr) {
  if (!box) box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(1);
  box->setMinimumWidth(BoxWidthFor(box, widthText, QStyle::CT_ComboBox));
  return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

// Screen readers announce a control by this name; a label beside a box names it too.
void Name(QWidget* control, const QString& name, QLabel* label = nullptr) {
  control->setAccessibleName(name);
  if (label) label->setBuddy(control);
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
  window.move(kWindowLeft, kWindowTop);

  c.Panel1 = new QWidget(&window);
  c.Panel1->setObjectName("Panel1");
  c.Label5 = NewLabel(c.Panel1, "Label5", "PORT:");
  c.ComboPort = new TPortComboBox(c.Panel1, [] { return PortBoxEntries(ListSerialPorts(SystemPortLister())); });
  NewComboBox(c.Panel1, "ComboPort", kPortWidthText, c.ComboPort);
  c.ComboPort->Refresh();
  c.ComboPort->setCurrentIndex(0);
  Name(c.ComboPort, "Port", c.Label5);
  c.Label6 = NewLabel(c.Panel1, "Label6", "BAUD RATE:");
  c.ComboBaud = NewComboBox(c.Panel1, "ComboBaud", kBaudWidthText);
  c.ComboBaud->addItems(BaudRateItems());
  c.ComboBaud->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));
  Name(c.ComboBaud, "Baud rate of the link", c.Label6);
  auto* strip = new QHBoxLayout(c.Panel1);
  strip->addWidget(c.Label5);
  strip->addWidget(c.ComboPort);
  strip->addSpacing(strip->spacing() * 2);
  strip->addWidget(c.Label6);
  strip->addWidget(c.ComboBaud);
  strip->addStretch(1);

  c.PageControl1 = new QTabWidget(&window);
  c.PageControl1->setObjectName("PageControl1");
  c.PageControl1->setAccessibleName("Operations");
  c.TabSheet1 = new QWidget;
  c.TabSheet1->setObjectName("TabSheet1");
  c.TabSheet2 = new QWidget;
  c.TabSheet2->setObjectName("TabSheet2");
  c.PageControl1->addTab(c.TabSheet1, "PARA");
  c.PageControl1->addTab(c.TabSheet2, "UPDATE");

  c.Label3 = NewLabel(c.TabSheet1, "Label3", "BAUD RATE:");
  c.ComboSetBaudRate = NewComboBox(c.TabSheet1, "ComboSetBaudRate", kBaudWidthText);
  c.ComboSetBaudRate->addItems(BaudRateItems());
  c.ComboSetBaudRate->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));
  Name(c.ComboSetBaudRate, "New baud rate of the printer", c.Label3);
  c.Label1 = NewLabel(c.TabSheet1, "Label1", "CODE PAGE");
  c.ComboCodePage = NewComboBox(c.TabSheet1, "ComboCodePage", kCodePageWidthText);
  Name(c.ComboCodePage, "Code page", c.Label1);
  c.Label2 = NewLabel(c.TabSheet1, "Label2", "STRING");
  c.edString = new QLineEdit(c.TabSheet1);
  c.edString->setObjectName("edString");
  // Six positions, each a digit or left blank; a blank reads back as a space through
  // displayText() (text() drops them).
  c.edString->setInputMask("000000; ");
  c.edString->setMinimumWidth(BoxWidthFor(c.edString, kStringWidthText, QStyle::CT_LineEdit));
  Name(c.edString, "String, six digits", c.Label2);
  c.btSet = NewButton(c.TabSheet1, "btSet", "SET");
  Name(c.btSet, "Set");
  auto* para = new QGridLayout(c.TabSheet1);
  const Qt::Alignment labelAlignment = Qt::AlignRight | Qt::AlignVCenter;
  para->addWidget(c.Label3, 0, 0, labelAlignment);
  para->addWidget(c.ComboSetBaudRate, 0, 1, Qt::AlignLeft);
  para->addWidget(c.Label1, 1, 0, labelAlignment);
  para->addWidget(c.ComboCodePage, 1, 1);
  para->addWidget(c.Label2, 2, 0, labelAlignment);
  para->addWidget(c.edString, 2, 1, Qt::AlignLeft);
  para->addWidget(c.btSet, 3, 0, Qt::AlignLeft);
  para->setRowStretch(4, 1);
  para->setColumnStretch(2, 1);

  c.btUpdate = NewButton(c.TabSheet2, "btUpdate", "PROGRAM");
  Name(c.btUpdate, "Program firmware");
  auto* update = new QVBoxLayout(c.TabSheet2);
  update->addWidget(c.btUpdate, 0, Qt::AlignLeft);
  update->addStretch(1);

  // Made inside the tab widget, so that its controls are measured in the window's font.
  c.TabSheet3 = new TLogoPage(configFolder, c.PageControl1);
  c.TabSheet3->setObjectName("TabSheet3");
  c.PageControl1->addTab(c.TabSheet3, "NVRAM");

  c.StatusBar1 = new QStatusBar(&window);
  c.StatusBar1->setObjectName("StatusBar1");
  c.StatusBar1->setSizeGripEnabled(false);
  c.StatusPanel0 = new QLabel(c.StatusBar1);
  c.StatusPanel0->setObjectName("StatusPanel0");
  c.StatusPanel0->setAccessibleName("Progress");
  const QString longestPanel0Texts[] = {
      QString::fromStdString(FormatProgress(kLongestTransfer, kLongestTransfer).value_or("")),
      QString::fromStdString(FormatLogoSpace(kLongestTransfer, 2 * int64_t{kLongestTransfer}))};
  int panel0Width = 0;
  for (const QString& text : longestPanel0Texts)
    panel0Width = std::max(panel0Width, c.StatusPanel0->fontMetrics().horizontalAdvance(text));
  c.StatusPanel0->setMinimumWidth(panel0Width + c.StatusPanel0->fontMetrics().averageCharWidth());
  c.StatusPanel1 = new QLabel(c.StatusBar1);
  c.StatusPanel1->setObjectName("StatusPanel1");
  c.StatusPanel1->setAccessibleName("Status");
  c.StatusBar1->addWidget(c.StatusPanel0);
  c.StatusBar1->addWidget(c.StatusPanel1, 1);

  // A column of the strip, the pages and the status bar; the window is as large as they
  // need and no larger, and cannot be resized.
  auto* column = new QVBoxLayout(&window);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->setSizeConstraint(QLayout::SetFixedSize);
  column->addWidget(c.Panel1);
  column->addWidget(c.PageControl1);
  column->addWidget(c.StatusBar1);

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
  c.Label13 = NewLabel(&page, "Label13", "LOGO:");
  c.ActionList1 = new QObject(&page);
  c.ActionList1->setObjectName("ActionList1");
  c.actAddLogo = NewAction(c.ActionList1, "actAddLogo", "ADD");
  c.actDelete = NewAction(c.ActionList1, "actDelete", "DELETE");
  c.btAddLogo = NewButton(&page, "btAddLogo", QString());
  FollowAction(c.btAddLogo, c.actAddLogo);
  Name(c.btAddLogo, "Add logo");
  c.btDeleteLogo = NewButton(&page, "btDeleteLogo", QString());
  FollowAction(c.btDeleteLogo, c.actDelete);
  Name(c.btDeleteLogo, "Delete logo");
  c.ListLogo = new QListWidget(&page);
  c.ListLogo->setObjectName("ListLogo");
  const QFontMetrics metrics = c.ListLogo->fontMetrics();
  const int listFrame = 2 * c.ListLogo->frameWidth();
  // As tall as its lines, whatever the list's own size hint (a scroll area's is large).
  c.ListLogo->setMinimumWidth(kLogoListCharacters * metrics.averageCharWidth() + listFrame);
  c.ListLogo->setFixedHeight(kLogoListLines * metrics.lineSpacing() + listFrame);
  Name(c.ListLogo, "Logo pictures", c.Label13);
  c.btLOGO = NewButton(&page, "btLOGO", "DOWNLOAD");
  Name(c.btLOGO, "Download logos");

  auto* logoRow = new QHBoxLayout;
  logoRow->addWidget(c.Label13);
  logoRow->addStretch(1);
  logoRow->addWidget(c.btAddLogo);
  logoRow->addWidget(c.btDeleteLogo);
  c.DownloadRow = new QHBoxLayout;
  c.DownloadRow->setObjectName("DownloadRow");
  c.DownloadRow->addWidget(c.btLOGO);
  c.DownloadRow->addStretch(1);
  c.PageLayout = new QVBoxLayout(&page);
  c.PageLayout->setObjectName("LogoPageLayout");
  c.PageLayout->addLayout(logoRow);
  c.PageLayout->addWidget(c.ListLogo, 1);
  c.PageLayout->addLayout(c.DownloadRow);

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
