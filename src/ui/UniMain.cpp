#include "ui/UniMain.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSoundEffect>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

#include "base/FileIo.h"
#include "base/Text.h"
#include "engine/Convert.h"
#include "engine/DataStream.h"
#include "engine/FirmwareImage.h"
#include "engine/JobReason.h"
#include "engine/ParameterBlock.h"
#include "engine/TransferLimits.h"
#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"
#include "ports/PortEntries.h"
#include "ports/PortList.h"
#include "report/ProgressText.h"
#include "settings/BaudRates.h"
#include "settings/LinkSettings.h"
#include "settings/ProfileFile.h"
#include "settings/RelativePath.h"
#include "settings/WindowSettings.h"
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

constexpr const char* kOkSound = "ok.wav";
constexpr const char* kErrorSound = "error.wav";
constexpr const char* kInvalidFileCaption = "Print Tool";
constexpr const char* kInvalidFileText = "Invalid file";
constexpr const char* kBusyText = "BUSY: wait for the end";
constexpr const char* kLogoFileName = "logo.bin";


// The rates right-aligned in six places, as the boxes have always shown them.
QString BaudRateItem(int32_t rate) { return QString::number(rate).rightJustified(6); }

// A remembered rate shows as the box's own item when it is one of them.
QString BaudRateText(const std::string& rate) {
  const QString text = QString::fromStdString(rate);
  bool number = false;
  const int value = text.toInt(&number);
  return number && value > 0 ? BaudRateItem(value) : text;
}

// The rate a BAUD RATE box shows: a number (else TConvertError, as for any number typed
// into the window) and one of the printer's rates (else std::runtime_error), so that a
// printer is never told, or talked to at, a rate it does not have.
int32_t ChosenBaudRate(const QComboBox* box) {
  const std::string text = Trim(box->currentText().toStdString());
  const int32_t rate = StrToInt(text);
  if (!IsBaudRate(rate))
    throw std::runtime_error("'" + text + "' is not a baud rate of the printer; choose one of " + BaudRateListText());
  return rate;
}

QStringList BaudRateItems() {
  QStringList items;
  for (const int32_t rate : kBaudRates) items << BaudRateItem(rate);
  return items;
}

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

// Selects the item that reads `text`, so that the list opens on it; a text that is no
// item stands in the box as if typed.
void ShowText(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) box->setCurrentIndex(index);
  else box->setEditText(text);
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

QString ApplicationTitle() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
}

void TfrmMain::TWindowHost::PostMessage(uint32_t message, int32_t wParam, int32_t lParam) {
  if (message > static_cast<uint32_t>(QEvent::MaxUser - QEvent::User)) return;
  const auto type = static_cast<QEvent::Type>(QEvent::User + static_cast<int>(message));
  QCoreApplication::postEvent(&Window, new TWorkerEvent(type, wParam, lParam));
}

void TfrmMain::TWindowHost::ShowStatusText(const std::string& text) {
  QCoreApplication::postEvent(&Window, new TWorkerEvent(kEventStatusText, 0, 0, text));
}

TfrmMain::TfrmMain(const TAppPaths& paths, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  CreateControls();
  FormCreate(paths);
}

TfrmMain::~TfrmMain() { FormDestroy(); }

void TfrmMain::CreateControls() {
  setObjectName("frmMain");
  setWindowTitle("PRINT SET");
  setFont(MonospaceFont(kWindowFontHeight));
  setFixedSize(kClientWidth, kClientHeight);
  move(kWindowLeft, kWindowTop);

  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(0, 0, kClientWidth, kStripHeight);
  Panel1->setFont(MonospaceFont(kStripFontHeight));
  Label5 = NewLabel(Panel1, "Label5", "PORT:", 8, 8);
  ComboPort = new TPortComboBox(Panel1, [] { return PortBoxEntries(ListSerialPorts()); });
  ComboPort->setObjectName("ComboPort");
  ComboPort->setGeometry(59, 4, 72, ComboPort->sizeHint().height());
  ComboPort->Refresh();
  ComboPort->setCurrentIndex(0);
  Label6 = NewLabel(Panel1, "Label6", "BAUD RATE:", 150, 8);
  ComboBaud = NewComboBox(Panel1, "ComboBaud", 250, 4, 91);
  ComboBaud->addItems(BaudRateItems());
  ComboBaud->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setGeometry(0, kStripHeight, kClientWidth, kClientHeight - kStripHeight - kStatusBarHeight);
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName("TabSheet1");
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName("TabSheet2");
  TabSheet3 = new QWidget;
  TabSheet3->setObjectName("TabSheet3");
  PageControl1->addTab(TabSheet1, "PARA");
  PageControl1->addTab(TabSheet2, "UPDATE");
  PageControl1->addTab(TabSheet3, "NVRAM");

  Label3 = NewLabel(TabSheet1, "Label3", "BAUD RATE:", -1, 8);
  ComboSetBaudRate = NewComboBox(TabSheet1, "ComboSetBaudRate", 106, 4, 91);
  ComboSetBaudRate->addItems(BaudRateItems());
  ComboSetBaudRate->setCurrentIndex(BaudRateItems().indexOf(BaudRateItem(kDefaultBaudRate)));
  Label1 = NewLabel(TabSheet1, "Label1", "CODE PAGE", 1, 43);
  ComboCodePage = NewComboBox(TabSheet1, "ComboCodePage", 106, 39, 239);
  Label2 = NewLabel(TabSheet1, "Label2", "STRING", 33, 80);
  edString = new QLineEdit(TabSheet1);
  edString->setObjectName("edString");
  // Six positions, each a digit or left blank; a blank reads back as a space through
  // displayText() (text() drops them).
  edString->setInputMask("000000; ");
  edString->setGeometry(104, 76, 120, edString->sizeHint().height());
  btSet = NewButton(TabSheet1, "btSet", "SET", 32, 112, 75, 25);

  btUpdate = NewButton(TabSheet2, "btUpdate", "PROGRAM", 80, 24, 89, 25);

  Label13 = NewLabel(TabSheet3, "Label13", "LOGO:", 16, 16);
  ActionList1 = new QObject(this);
  ActionList1->setObjectName("ActionList1");
  actAddLogo = NewAction(ActionList1, "actAddLogo", "ADD");
  actDelete = NewAction(ActionList1, "actDelete", "DELETE");
  btAddLogo = NewButton(TabSheet3, "btAddLogo", QString(), 152, 8, 57, 25);
  FollowAction(btAddLogo, actAddLogo);
  btDeleteLogo = NewButton(TabSheet3, "btDeleteLogo", QString(), 240, 8, 75, 25);
  FollowAction(btDeleteLogo, actDelete);
  ListLogo = new QListWidget(TabSheet3);
  ListLogo->setObjectName("ListLogo");
  ListLogo->setGeometry(16, 38, 321, 110);
  btLOGO = NewButton(TabSheet3, "btLOGO", "DOWNLOAD", 16, 156, 97, 25);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  ADD1 = NewAction(PopupMenu1, "ADD1", QString());
  FollowAction(ADD1, actAddLogo);
  N1 = NewAction(PopupMenu1, "N1", QString());
  N1->setSeparator(true);
  DELETE1 = NewAction(PopupMenu1, "DELETE1", QString());
  FollowAction(DELETE1, actDelete);
  PopupMenu1->addActions({ADD1, N1, DELETE1});
  ListLogo->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ListLogo, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ListLogo->viewport()->mapToGlobal(at)); });

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  // The panels use the desktop's own status font; a 19-pixel fixed-pitch face would not
  // fit the progress text into its panel.
  StatusBar1->setFont(QApplication::font());
  StatusBar1->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
  StatusPanel0 = new QLabel(StatusBar1);
  StatusPanel0->setObjectName("StatusPanel0");
  StatusPanel0->setFixedWidth(kStatusPanel0Width);
  StatusPanel1 = new QLabel(StatusBar1);
  StatusPanel1->setObjectName("StatusPanel1");
  StatusPanel1->setMinimumWidth(kStatusPanel1Width);
  StatusBar1->addWidget(StatusPanel0);
  StatusBar1->addWidget(StatusPanel1, 1);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName("OpenDialog1");
  // Qt's own dialog, so that it behaves the same on every desktop and a test can answer it.
  OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  // The captions are the historic ones, but "*.*" would hide files without a dot here:
  // each entry carries its real pattern last, and only the part before it is shown.
  OpenDialog1->setOption(QFileDialog::HideNameFilterDetails);
  OpenDialog1->setNameFilters({"BINARY FILE(*.bin) (*.bin)", "ALL FILE(*.*) (*)"});

  OpenPictureDialog1 = new QFileDialog(this);
  OpenPictureDialog1->setObjectName("OpenPictureDialog1");
  OpenPictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
  OpenPictureDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  // A typed name need not exist: the logo list reports a missing file itself.
  OpenPictureDialog1->setFileMode(QFileDialog::AnyFile);
  OpenPictureDialog1->setNameFilters(PictureFilters());

  setTabOrder(ComboPort, ComboBaud);
  setTabOrder(ComboBaud, PageControl1);
  setTabOrder(PageControl1, btSet);
  setTabOrder(btSet, ComboSetBaudRate);
  setTabOrder(ComboSetBaudRate, ComboCodePage);
  setTabOrder(ComboCodePage, edString);
  setTabOrder(edString, btUpdate);
  setTabOrder(btUpdate, btAddLogo);
  setTabOrder(btAddLogo, btDeleteLogo);
  setTabOrder(btDeleteLogo, ListLogo);
  setTabOrder(ListLogo, btLOGO);
  ComboPort->setFocus();

  connect(btSet, &QPushButton::clicked, this, [this] { Guarded([this] { btSetClick(); }); });
  connect(btUpdate, &QPushButton::clicked, this, [this] { Guarded([this] { btUpdateClick(); }); });
  connect(btLOGO, &QPushButton::clicked, this, [this] { Guarded([this] { btLOGOClick(); }); });
  connect(actAddLogo, &QAction::triggered, this, [this] { Guarded([this] { actAddLogoExecute(); }); });
  connect(actDelete, &QAction::triggered, this, [this] { Guarded([this] { actDeleteExecute(); }); });
  // The actions' enabled state is decided whenever the event queue runs empty.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TfrmMain::UpdateActions);
}

void TfrmMain::FormCreate(const TAppPaths& paths) {
  LogoPaths.clear();
  ProgramFolder = ExecutableFolder();
  Paths = paths;
  CommThread = std::make_unique<TCommThread>(Host);
  PageControl1->setCurrentIndex(0);
  edString->setText(QString::fromStdString(TodayAsYymmdd()));
  LogoSetBuffer.clear();

  const TProfileFile profile(Paths.ConfigFile());
  LogoSettings = ReadLogoSettings(profile);
  TCodePageTable codePages = ReadCodePages(profile);
  CodePageNames = std::move(codePages.Names);
  CodePageValues = codePages.Values;
  ComboCodePage->clear();
  for (const std::string& name : CodePageNames) ComboCodePage->addItem(QString::fromStdString(name));
  if (ComboCodePage->count() > 0) ComboCodePage->setCurrentIndex(0);

  const TLinkSettings link = ReadLinkSettings(profile);
  PortMap = link.PortMap;
  IdUDPClient1.Host = link.NetworkHost;
  IdUDPClient1.Port = link.NetworkPort;
  ComboPort->SetPortMap(PortMap);

  const TWindowSettings window = ReadWindowSettings(profile);
  if (!window.Port.empty()) ShowText(ComboPort, QString::fromStdString(window.Port));
  if (!window.BaudRate.empty()) ShowText(ComboBaud, BaudRateText(window.BaudRate));
}

void TfrmMain::FormDestroy() {
  TProfileFile profile(Paths.ConfigFile());
  const TWindowSettings window{ComboPort->currentText().toStdString(), ComboBaud->currentText().toStdString()};
  if (!WriteLogoSettings(profile, LogoSettings) || !WriteWindowSettings(profile, window))
    ShowException(std::runtime_error("Unable to write to " + profile.Path()));
  // Stops and joins the parked worker before the fields it reads go away.
  CommThread.reset();
  LogoSetBuffer.clear();
  LogoPaths.clear();
  CodePageNames.clear();
}

bool TfrmMain::event(QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == kEventProgress) {
    const auto* message = static_cast<const TWorkerEvent*>(event);
    ProgressMessage(message->Done, message->Total);
    return true;
  }
  if (type == kEventStatusText) {
    StatusPanel1->setText(QString::fromStdString(static_cast<const TWorkerEvent*>(event)->Text));
    return true;
  }
  // Its only purpose is to end the blocking wait in RunJobAndReport.
  if (type == kEventJobFinished) return true;
  return QWidget::event(event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A firmware transfer cut off half-way can leave the printer without a working
  // program, so the window stays until the job has ended.
  if (JobBusy()) {
    event->ignore();
    StatusPanel1->setText(kBusyText);
    return;
  }
  event->accept();
}

template <typename THandler>
void TfrmMain::Guarded(THandler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  }
}

void TfrmMain::ShowException(const std::exception& error) {
  QString text = QString::fromStdString(error.what());
  if (!text.endsWith('.')) text += '.';
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, this);
  box.exec();
}

void TfrmMain::ShowMessage(const QString& text, const QString& reason) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, this);
  box.setInformativeText(reason);
  box.exec();
}

void TfrmMain::ReadPortSettings(bool trim) {
  const std::string port = ComboPort->currentText().toStdString();
  PortName = trim ? Trim(port) : port;
  PortBaudRate = ChosenBaudRate(ComboBaud);
}

bool TfrmMain::JobBusy() const { return WaitingForJob || (CommThread && CommThread->JobRunning()); }

void TfrmMain::SetJobButtonsEnabled(bool enabled) {
  btSet->setEnabled(enabled);
  btUpdate->setEnabled(enabled);
  btLOGO->setEnabled(enabled);
}

void TfrmMain::RunJobAndReport(uint8_t jobCode) {
  if (JobBusy() || !CommThread->StartJob(jobCode)) return;
  WaitingForJob = true;
  SetJobButtonsEnabled(false);
  // The event loop is the wait: it blocks while nothing is pending. The worker sets
  // JobDone and then posts the job-finished event, so that event always ends the last
  // blocking wait; progress events end earlier ones.
  do {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  } while (!CommThread->JobDone.Wait(0));
  WaitingForJob = false;
  SetJobButtonsEnabled(true);
  if (StatusPanel1->text() == kBusyText) StatusPanel1->clear();
  if (CommThread->ResultCode == kResultOk) {
    PlaySound(kOkSound);
    ShowMessage("OK");
  } else {
    PlaySound(kErrorSound);
    ShowMessage("ERROR", QString::fromStdString(JobFailureReason(*CommThread, ResolvePortName(PortName, PortMap))));
  }
}

void TfrmMain::PlaySound(const char* fileName) {
  const QString path = QString::fromStdString(FindProgramFile(Paths, ProgramFolder, fileName));
  // The sound system is only woken for a file that is there: a missing sound is silence.
  if (path.isEmpty()) return;
  if (!Sound) Sound = new QSoundEffect(this);
  Sound->stop();
  Sound->setSource(QUrl::fromLocalFile(path));
  // Loads and plays in the background; the box is shown at once.
  Sound->play();
}

void TfrmMain::ProgressMessage(int32_t done, int32_t total) {
  if (const auto text = FormatProgress(done, total)) StatusPanel0->setText(QString::fromStdString(*text));
}

int TfrmMain::SelectedCodePageIndex() const {
  const int index = ComboCodePage->currentIndex();
  // Text typed over the box selects nothing, even when an item was chosen before.
  if (index < 0 || index >= static_cast<int>(CodePageNames.size()) || ComboCodePage->currentText() != ComboCodePage->itemText(index))
    return -1;
  return index;
}

std::string TfrmMain::EditDigits() const { return edString->displayText().toStdString(); }

void TfrmMain::btSetClick() {
  if (JobBusy()) return;
  const int codePageIndex = SelectedCodePageIndex();
  const int32_t codePage = codePageIndex >= 0 ? CodePageValues[static_cast<size_t>(codePageIndex)] : 0;
  const TParameterBlock block =
      BuildParameterBlock(std::to_string(ChosenBaudRate(ComboSetBaudRate)), codePage, EditDigits());
  std::copy(block.begin(), block.end(), CommThread->ParamBuffer);
  CommThread->ParamLength = static_cast<int32_t>(block.size());
  CommThread->ParamCommand = kCommandSetParameters;
  CommThread->ParamArgument = 0;
  ReadPortSettings(true);
  RunJobAndReport(JobSetParameters);
}

void TfrmMain::btUpdateClick() {
  if (JobBusy()) return;
  const QString folder = QString::fromStdString(Paths.ConfigFolder);
  QDir::setCurrent(folder);
  // Untrimmed, unlike SET: the port name goes to the link exactly as typed.
  ReadPortSettings(false);
  OpenDialog1->setDirectory(folder);
  OpenDialog1->selectFile(QString());
  if (OpenDialog1->exec() != QDialog::Accepted) return;
  const QString fileName = OpenDialog1->selectedFiles().value(0);
  if (fileName.isEmpty()) return;
  // Read once, within a bound (the dialog lets a FIFO or a device through; neither is
  // ever read): the bytes checked are the bytes sent.
  std::vector<uint8_t> image;
  std::string reason;
  if (!ReadFileBounded(fileName.toStdString(), kMaxFirmwareFileSize, image, reason))
    throw std::runtime_error(fileName.toStdString() + ": " + reason);
  if (!IsValidFirmwareImage(image.data(), image.size())) {
    QMessageBox box(QMessageBox::Critical, kInvalidFileCaption, kInvalidFileText, QMessageBox::Ok, this);
    box.exec();
    return;
  }
  CommThread->DataStream.Assign(std::move(image));
  RunJobAndReport(JobProgramFirmware);
}

bool TfrmMain::RebuildLogoSet() {
  TLogoSetResult result = BuildLogoSet(LogoPaths, LogoSettings, LoadPicture);
  LogoSetBuffer = std::move(result.Bytes);
  LogoSetComplete = result.Complete;
  LogoSetFailedIndex = result.FailedIndex;
  if (!result.Complete) {
    QString reason = LogoFailureReason(result.Failure);
    if (QListWidgetItem* item = ListLogo->item(result.FailedIndex)) reason = item->text() + ": " + reason;
    ShowMessage(LogoFailureMessage(result.Failure), reason);
  }
  return result.Complete;
}

void TfrmMain::ShowLogoSpace() {
  StatusPanel0->setText(QString::fromStdString(
      FormatLogoSpace(static_cast<int64_t>(LogoSetBuffer.size()), LogoSettings.LogoSize)));
}

void TfrmMain::btLOGOClick() {
  if (JobBusy()) return;
  // A set that stopped short announces logos it does not hold: the printer must never
  // get it, and the last good "logo.bin" stays.
  if (!LogoSetComplete) {
    ShowMessage("ERROR", "a picture of the list failed, so the logo set is incomplete; nothing was sent");
    return;
  }
  // The record of the last set sent, written as one step; the job sends the set in
  // memory, never the file.
  const std::string path = Paths.StateFolder + kLogoFileName;
  std::string error;
  if (!WriteFileAtomically(path, LogoSetBuffer.data(), LogoSetBuffer.size(), error))
    throw std::runtime_error("Cannot create file \"" + path + "\". " + error);
  QDir::setCurrent(QString::fromStdString(Paths.ConfigFolder));
  ReadPortSettings(false);
  TDownloadList& list = CommThread->DownloadList;
  list.Clear();
  list.Add(path, kLogoFileName, std::to_string(LogoSettings.LogoCommand), std::to_string(LogoSettings.LogoPara),
           std::make_shared<const std::vector<uint8_t>>(LogoSetBuffer));
  RunJobAndReport(JobDownloadFiles);
}

void TfrmMain::actAddLogoExecute() {
  OpenPictureDialog1->setDirectory(QString::fromStdString(Paths.ConfigFolder));
  OpenPictureDialog1->selectFile(QString());  // no name left over from the last choice
  if (OpenPictureDialog1->exec() != QDialog::Accepted) return;
  const QString chosen = OpenPictureDialog1->selectedFiles().value(0);
  if (chosen.isEmpty()) return;
  const std::string fullPath = QFileInfo(chosen).absoluteFilePath().toStdString();
  LogoPaths.push_back(fullPath);
  ListLogo->addItem(QString::fromStdString(RelativeToFolder(fullPath, Paths.ConfigFolder)));
  // The entry that failed leaves the list: mostly the one just added, but it may be an
  // earlier one whose file has gone. Each removal rebuilds, which may stop at the next.
  bool complete = RebuildLogoSet();
  while (!complete && LogoSetFailedIndex >= 0 && LogoSetFailedIndex < ListLogo->count()) {
    ListLogo->clearSelection();
    ListLogo->item(LogoSetFailedIndex)->setSelected(true);
    actDeleteExecute();
    complete = LogoSetComplete;
  }
  ShowLogoSpace();
}

void TfrmMain::actDeleteExecute() {
  const int count = ListLogo->count();
  if (count == 0) return;
  int row = count - 1;
  const QList<QListWidgetItem*> selected = ListLogo->selectedItems();
  if (!selected.isEmpty()) row = ListLogo->row(selected.first());
  LogoPaths.erase(LogoPaths.begin() + row);
  delete ListLogo->takeItem(row);
  RebuildLogoSet();
  ShowLogoSpace();
}

void TfrmMain::actAddLogoUpdate() { actAddLogo->setEnabled(CanAddLogo(ListLogo->count(), LogoSettings)); }

void TfrmMain::actDeleteUpdate() { actDelete->setEnabled(ListLogo->count() > 0); }

void TfrmMain::UpdateActions() {
  actAddLogoUpdate();
  actDeleteUpdate();
}

}  // namespace printset
