#include "ui/UniMain.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <stdexcept>
#include <utility>

#include "base/LocalTime.h"
#include "frontend/LogoRequest.h"
#include "frontend/SetRequest.h"
#include "frontend/ShownRefusal.h"
#include "frontend/TransferRequests.h"
#include "frontend/StationRecord.h"
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
  CodePages = ReadCodePages(profile);
  QComboBox* codePageBox = Controls.ComboCodePage;
  codePageBox->clear();
  for (const std::string& name : CodePages.Names) codePageBox->addItem(QString::fromStdString(name));
  if (codePageBox->count() > 0) codePageBox->setCurrentIndex(0);
  if (!profile.HasSection(kCodePageSection)) ShowHint(kNoCodePagesHint);

  const TLinkSettings link = ReadLinkSettings(profile);
  Runner.SetSettings(link, KeptRuns(profile));
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

bool TfrmMain::Start(const TChecked<TRequest>& request, QWidget* button) {
  if (!request) {
    ShowRefusal(View, request.Refusal());
    return false;
  }
  // The link's rate is read after the request is built, whose checks come first.
  const int32_t linkBaudRate = LinkBaudRate();
  View.SetOperationButton(button);
  return Runner.Start(*request, Controls.ComboPort->currentText().toStdString(), linkBaudRate);
}

void TfrmMain::btSetClick() {
  if (Runner.Busy()) return;
  TSetInput input;
  input.FrontEnd = TReasonFrontEnd::Window;
  input.CodePageEntry = ChosenCodePageIndex(Controls.ComboCodePage);
  input.NewRateText = Controls.ComboSetBaudRate->currentText().toStdString();
  input.NewRateField = TRateField::WindowBox;
  input.String = Controls.edString->displayText().toStdString();
  static_cast<void>(Start(SetRequest(input, CodePages, Paths.ConfigFile()), Controls.btSet));
}

void TfrmMain::btUpdateClick() {
  if (Runner.Busy()) return;
  QDir::setCurrent(QString::fromStdString(Paths.ConfigFolder));
  // A rate the printer does not have stops the operation before the dialog.
  static_cast<void>(LinkBaudRate());
  const TChosenFile chosen = View.ChooseImageFile(ImageDialogFolder(ImageFolder, Paths.ConfigFolder));
  ImageFolder = chosen.Folder;
  if (chosen.Path.empty()) return;
  static_cast<void>(Start(ProgramRequest(chosen.Path), Controls.btUpdate));
}

void TfrmMain::btLOGOClick() {
  if (Runner.Busy()) return;
  const TLogoPage& page = *Controls.TabSheet3;
  const TChecked<TRequest> request =
      LogoDownloadRequest(page.LogoSet(), page.IsLogoSetComplete(), page.Settings(), Paths.StateFolder);
  if (request) QDir::setCurrent(QString::fromStdString(Paths.ConfigFolder));
  static_cast<void>(Start(request, page.DownloadButton()));
}

}  // namespace printset
