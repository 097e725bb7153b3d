#include "ui/UniMain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "base/FileIo.h"
#include "base/LocalTime.h"
#include "engine/Commands.h"
#include "engine/FirmwareImage.h"
#include "engine/ParameterBlock.h"
#include "engine/TransferLimits.h"
#include "settings/LinkSettings.h"
#include "settings/LogoListSettings.h"
#include "settings/ProfileFile.h"
#include "settings/WindowSettings.h"
#include "ui/BaudRateBox.h"
#include "ui/CodePageBox.h"
#include "ui/LogoPage.h"
#include "ui/MessageBoxes.h"
#include "ui/PortComboBox.h"

namespace printset {

namespace {

constexpr const char* kInvalidFileCaption = "Print Tool";
constexpr const char* kInvalidFileText = "Invalid file";
constexpr const char* kLogoFileName = "logo.bin";
// Shown in the status bar while config.ini has no [CODEPAGE] section, until the first
// operation or change of the logo list.
constexpr const char* kNoCodePagesHint = "No code pages: printset-cli codepages --add";

// Selects the item that reads `text`, so that the list opens on it; a text that is no
// item stands in the box as if typed.
void ShowText(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) box->setCurrentIndex(index);
  else box->setEditText(text);
}

}  // namespace

TfrmMain::TfrmMain(const TAppPaths& paths, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Paths(paths),
      Controls(LayOutWindow(*this, paths.ConfigFolder)),
      View(*this, Controls, paths),
      Runner(View, View, paths.StateFolder) {
  connect(Controls.btSet, &QPushButton::clicked, this, [this] { Guarded(this, [this] { btSetClick(); }); });
  connect(Controls.btUpdate, &QPushButton::clicked, this, [this] { Guarded(this, [this] { btUpdateClick(); }); });
  connect(Controls.TabSheet3, &TLogoPage::DownloadClicked, this, [this] { Guarded(this, [this] { btLOGOClick(); }); });
  connect(Controls.TabSheet3, &TLogoPage::SpaceTextChanged, Controls.StatusPanel0, &QLabel::setText);
  FormCreate();
}

// The settings are written back in closeEvent, where a failure can still be shown.
TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate() {
  Controls.PageControl1->setCurrentIndex(0);
  Controls.edString->setText(QString::fromStdString(TodayAsYymmdd()));

  const TProfileFile profile(Paths.ConfigFile());
  Controls.TabSheet3->SetSettings(ReadLogoSettings(profile));
  TCodePageTable codePages = ReadCodePages(profile);
  CodePageNames = std::move(codePages.Names);
  CodePageValues = codePages.Values;
  QComboBox* codePageBox = Controls.ComboCodePage;
  codePageBox->clear();
  for (const std::string& name : CodePageNames) codePageBox->addItem(QString::fromStdString(name));
  if (codePageBox->count() > 0) codePageBox->setCurrentIndex(0);
  if (!profile.HasSection(kCodePageSection)) ShowHint(kNoCodePagesHint);

  const TLinkSettings link = ReadLinkSettings(profile);
  Runner.SetLinkSettings(link);
  Controls.ComboPort->SetPortMap(link.PortMap);

  const TWindowSettings window = ReadWindowSettings(profile);
  if (!window.Port.empty()) ShowText(Controls.ComboPort, QString::fromStdString(window.Port));
  if (!window.BaudRate.empty()) ShowText(Controls.ComboBaud, BaudRateText(window.BaudRate));
  ImageFolder = window.ImageFolder;
  Controls.TabSheet3->SetPictureFolder(window.PictureFolder);
  Controls.TabSheet3->RestoreList(ReadLogoList(profile));
}

void TfrmMain::ShowHint(const QString& hint) {
  QStatusBar* bar = Controls.StatusBar1;
  // The window widens, if it must, so that the whole line shows.
  bar->setMinimumWidth(bar->fontMetrics().horizontalAdvance(hint + "    "));
  bar->showMessage(hint);
  // The panels come back with the first progress or logo space text.
  connect(&View, &TWindowView::JobStarted, bar, &QStatusBar::clearMessage, Qt::SingleShotConnection);
  connect(Controls.TabSheet3, &TLogoPage::SpaceTextChanged, bar, &QStatusBar::clearMessage, Qt::SingleShotConnection);
}

void TfrmMain::SaveSettings() {
  TProfileFile profile(Paths.ConfigFile());
  TWindowSettings window;
  window.Port = Controls.ComboPort->currentText().toStdString();
  window.BaudRate = Controls.ComboBaud->currentText().toStdString();
  window.ImageFolder = ImageFolder;
  window.PictureFolder = Controls.TabSheet3->PictureFolder();
  const TLogoPage& page = *Controls.TabSheet3;
  if (!WriteLogoSettings(profile, page.Settings()) || !WriteLogoList(profile, page.ListEntries()) ||
      !WriteWindowSettings(profile, window))
    ShowException(this, std::runtime_error("Unable to write to " + profile.Path()));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  // A firmware transfer cut off half-way can leave the printer without a working
  // program, so the window stays until the job has ended.
  if (Runner.Busy()) {
    event->ignore();
    Controls.StatusPanel1->setText(kBusyText);
    return;
  }
  SaveSettings();
  event->accept();
}

int32_t TfrmMain::LinkBaudRate() const { return ChosenBaudRate(Controls.ComboBaud); }

void TfrmMain::Start(const TOperation& operation, int32_t linkBaudRate, QWidget* button) {
  View.SetOperationButton(button);
  static_cast<void>(Runner.Start(operation, Controls.ComboPort->currentText().toStdString(), linkBaudRate));
}

std::string TfrmMain::EditDigits() const { return Controls.edString->displayText().toStdString(); }

void TfrmMain::btSetClick() {
  if (Runner.Busy()) return;
  const int codePageIndex = ChosenCodePageIndex(Controls.ComboCodePage);
  const int32_t codePage =
      codePageIndex >= 0 && static_cast<size_t>(codePageIndex) < CodePageNames.size()
          ? CodePageValues[static_cast<size_t>(codePageIndex)]
          : 0;
  const int32_t newBaudRate = ChosenBaudRate(Controls.ComboSetBaudRate);
  const TParameterBlock block = BuildParameterBlock(std::to_string(newBaudRate), codePage, EditDigits());
  const TJob job = TJob::SetParameters(std::vector<uint8_t>(block.begin(), block.end()), kCommandSetParameters, 0);
  Start({"set", job, newBaudRate}, LinkBaudRate(), Controls.btSet);
}

void TfrmMain::btUpdateClick() {
  if (Runner.Busy()) return;
  const QString folder = QString::fromStdString(Paths.ConfigFolder);
  QDir::setCurrent(folder);
  const int32_t linkBaudRate = LinkBaudRate();
  std::error_code error;
  const bool lastExists = !ImageFolder.empty() && std::filesystem::is_directory(ImageFolder, error);
  const TChosenFile chosen = View.ChooseImageFile(lastExists ? ImageFolder : Paths.ConfigFolder);
  ImageFolder = chosen.Folder;
  if (chosen.Path.empty()) return;
  const QString fileName = QString::fromStdString(chosen.Path);
  // Read once, within a bound (the dialog lets a FIFO or a device through; neither is
  // ever read): the bytes checked are the bytes sent.
  std::vector<uint8_t> image;
  std::string reason;
  if (!ReadFileBounded(fileName.toStdString(), kMaxFirmwareFileSize, image, reason))
    throw std::runtime_error(fileName.toStdString() + ": " + reason);
  if (!IsValidFirmwareImage(image.data(), image.size())) {
    View.ShowError(kInvalidFileCaption, kInvalidFileText);
    return;
  }
  Start({"program", TJob::ProgramFirmware(std::make_shared<const std::vector<uint8_t>>(std::move(image)))},
        linkBaudRate, Controls.btUpdate);
}

void TfrmMain::btLOGOClick() {
  if (Runner.Busy()) return;
  const TLogoPage& page = *Controls.TabSheet3;
  // A set that stopped short announces logos it does not hold: the printer must never
  // get it, and the last good "logo.bin" stays.
  if (!page.IsLogoSetComplete()) {
    ShowMessage(this, "ERROR", "a picture of the list failed, so the logo set is incomplete; nothing was sent");
    return;
  }
  // The record of the last set sent, written as one step; the job sends the set in
  // memory, never the file.
  const std::vector<uint8_t>& set = page.LogoSet();
  const std::string path = Paths.StateFolder + kLogoFileName;
  std::string error;
  if (!WriteFileAtomically(path, set.data(), set.size(), error))
    throw std::runtime_error("Cannot create file \"" + path + "\". " + error);
  QDir::setCurrent(QString::fromStdString(Paths.ConfigFolder));
  const TLogoSettings& settings = page.Settings();
  const TDownloadEntry entry{path, kLogoFileName, static_cast<uint16_t>(settings.LogoCommand),
                             static_cast<uint32_t>(settings.LogoPara),
                             std::make_shared<const std::vector<uint8_t>>(set)};
  Start({"logo download", TJob::DownloadFiles({entry})}, LinkBaudRate(), page.DownloadButton());
}

}  // namespace printset
