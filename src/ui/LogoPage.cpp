#include "ui/LogoPage.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <utility>

#include "logo/DotlessLogos.h"
#include "logo/LogoSet.h"
#include "logo/LogoSetReader.h"
#include "logo/PictureLoader.h"
#include "settings/RelativePath.h"
#include "ui/DotRuleBox.h"
#include "ui/LogoPreview.h"
#include "ui/MessageBoxes.h"

namespace printset {

namespace {

constexpr int kExtrasGap = 8;  // between DOWNLOAD and the rule and preview beneath it
constexpr const char* kDotlessCaption = "WARNING";

// An entry as listed, resolved against the folder of config.ini unless it is absolute.
std::string EntryPath(const std::string& entry, const std::string& configFolder) {
  const std::filesystem::path path(entry);
  return (path.is_absolute() ? path : std::filesystem::path(configFolder) / path).lexically_normal().string();
}

}  // namespace

TLogoPage::TLogoPage(std::string configFolder, QWidget* parent)
    : QWidget(parent),
      Controls(LayOutLogoPage(*this)),
      ConfigFolder(std::move(configFolder)) {
  // The rule and the preview go beneath DOWNLOAD: into the page's own layout where it has
  // one, else placed by hand below the button, as wide as the list.
  auto* extras = new QWidget(this);
  extras->setObjectName("LogoExtras");
  RuleBox = new TDotRuleBox(extras);
  Preview = new TLogoPreview(extras);
  auto* column = new QVBoxLayout(extras);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(RuleBox);
  column->addWidget(Preview);
  if (auto* pageLayout = qobject_cast<QBoxLayout*>(layout())) {
    pageLayout->addWidget(extras);
  } else {
    const QRect list = Controls.ListLogo->geometry();
    extras->setGeometry(list.left(), Controls.btLOGO->geometry().bottom() + kExtrasGap, list.width(),
                        extras->sizeHint().height());
  }
  connect(RuleBox, &TDotRuleBox::Changed, this, [this] { Guarded(this, [this] { DotRuleChanged(); }); });
  connect(Controls.ListLogo, &QListWidget::itemSelectionChanged, this, &TLogoPage::ShowPreview);
  connect(Controls.actAddLogo, &QAction::triggered, this, [this] { Guarded(this, [this] { actAddLogoExecute(); }); });
  connect(Controls.actDelete, &QAction::triggered, this, [this] { Guarded(this, [this] { actDeleteExecute(); }); });
  connect(Controls.btLOGO, &QPushButton::clicked, this, &TLogoPage::DownloadClicked);
  connect(Controls.ListLogo, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    Controls.PopupMenu1->popup(Controls.ListLogo->viewport()->mapToGlobal(at));
  });
  // The actions' enabled state is decided whenever the event queue runs empty.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TLogoPage::UpdateActions);
}

void TLogoPage::SetSettings(const TLogoSettings& settings) {
  LogoSettings = settings;
  RuleBox->Show(settings.Dots, settings.Threshold);
}

void TLogoPage::SetPictureFolder(const std::string& folder) {
  std::error_code error;
  PictureFolderPath = !folder.empty() && std::filesystem::is_directory(folder, error) ? folder : std::string();
}

void TLogoPage::RestoreList(const std::vector<std::string>& entries) {
  std::vector<std::string> vanished;
  for (const std::string& entry : entries) {
    if (!CanAddLogo(static_cast<int>(LogoPaths.size()), LogoSettings)) break;
    const std::string path = EntryPath(entry, ConfigFolder);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
      vanished.push_back(entry);
      continue;
    }
    LogoPaths.push_back(path);
    Controls.ListLogo->addItem(QString::fromStdString(RelativeToFolder(path, ConfigFolder)));
  }
  if (!LogoPaths.empty()) {
    RebuildLogoSet();
    ShowLogoSpace();
  }
  ShowPreview();
  // After the window has come up, over it rather than before it.
  if (!vanished.empty())
    QMetaObject::invokeMethod(this, [this, vanished] { ReportVanished(vanished); }, Qt::QueuedConnection);
}

void TLogoPage::ReportVanished(const std::vector<std::string>& entries) {
  QString names;
  for (const std::string& entry : entries) names += "\n" + QString::fromStdString(entry);
  ShowMessage(this, "ERROR", "pictures of the last logo list no longer found, left out of the list:" + names);
}

std::vector<std::string> TLogoPage::ListEntries() const {
  std::vector<std::string> entries;
  for (int i = 0; i < Controls.ListLogo->count(); ++i) entries.push_back(Controls.ListLogo->item(i)->text().toStdString());
  return entries;
}

void TLogoPage::DotRuleChanged() {
  LogoSettings.Dots = RuleBox->Rule();
  LogoSettings.Threshold = RuleBox->Threshold();
  RebuildLogoSet();
  ShowLogoSpace();
  ShowPreview();
}

void TLogoPage::ShowPreview() {
  const QListWidget* list = Controls.ListLogo;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  const int index = selected.isEmpty() ? list->count() - 1 : list->row(selected.first());
  // A set that stopped short holds the logos before the failing entry; its count is made
  // to say so, so that those can still be shown.
  std::vector<uint8_t> set = LogoSetBuffer;
  if (!LogoSetComplete && set.size() >= static_cast<size_t>(kLogoSetHeaderSize) && LogoSetFailedIndex >= 0)
    set[2] = static_cast<uint8_t>(LogoSetFailedIndex);
  Preview->ShowLogo(set, ReadLogoSet(set), index);
}

void TLogoPage::SetDownloadEnabled(bool enabled) { Controls.btLOGO->setEnabled(enabled); }

QWidget* TLogoPage::DownloadButton() const { return Controls.btLOGO; }

void TLogoPage::PlaceInFocusChainAfter(QWidget* previous) {
  ChainLogoPageFocus(Controls, previous);
  QWidget::setTabOrder(Controls.btLOGO, RuleBox);
}

bool TLogoPage::RebuildLogoSet() {
  TLogoSetResult result = BuildLogoSet(LogoPaths, LogoSettings, LoadPicture);
  LogoSetBuffer = std::move(result.Bytes);
  LogoSetComplete = result.Complete;
  LogoSetFailedIndex = result.FailedIndex;
  if (!result.Complete) {
    QString reason = LogoFailureReason(result.Failure);
    if (QListWidgetItem* item = Controls.ListLogo->item(result.FailedIndex)) reason = item->text() + ": " + reason;
    ShowMessage(this, LogoFailureMessage(result.Failure), reason);
  }
  return result.Complete;
}

void TLogoPage::ShowLogoSpace() {
  emit SpaceTextChanged(QString::fromStdString(
      FormatLogoSpace(static_cast<int64_t>(LogoSetBuffer.size()), LogoSettings.LogoSize)));
}

void TLogoPage::actAddLogoExecute() {
  QFileDialog* dialog = Controls.OpenPictureDialog1;
  QListWidget* list = Controls.ListLogo;
  dialog->setDirectory(QString::fromStdString(PictureFolderPath.empty() ? ConfigFolder : PictureFolderPath));
  dialog->selectFile(QString());  // no name left over from the last choice
  const int answer = dialog->exec();
  PictureFolderPath = QDir(dialog->directory()).absolutePath().toStdString() + "/";
  if (answer != QDialog::Accepted) return;
  const QString chosen = dialog->selectedFiles().value(0);
  if (chosen.isEmpty()) return;
  const std::string fullPath = QFileInfo(chosen).absoluteFilePath().toStdString();
  // The new entry is the one shown: the last, with nothing selected.
  list->clearSelection();
  LogoPaths.push_back(fullPath);
  list->addItem(QString::fromStdString(RelativeToFolder(fullPath, ConfigFolder)));
  // The entry that failed leaves the list: mostly the one just added, but it may be an
  // earlier one whose file has gone. Each removal rebuilds, which may stop at the next.
  bool complete = RebuildLogoSet();
  while (!complete && LogoSetFailedIndex >= 0 && LogoSetFailedIndex < list->count()) {
    list->clearSelection();
    list->item(LogoSetFailedIndex)->setSelected(true);
    actDeleteExecute();
    complete = LogoSetComplete;
  }
  ShowLogoSpace();
  ShowPreview();
  if (complete) ReportDotlessLogos();
}

void TLogoPage::ReportDotlessLogos() {
  QString lines;
  for (const TDotlessLogo& logo : FindDotlessLogos(LogoSetBuffer, LogoPaths, LogoSettings, LoadPicture)) {
    const QListWidgetItem* item = Controls.ListLogo->item(logo.Index);
    const std::string name = item ? item->text().toStdString() : LogoPaths[static_cast<size_t>(logo.Index)];
    lines += (lines.isEmpty() ? "" : "\n") + QString::fromStdString(DotlessLogoText(logo, name, LogoSettings.Dots));
  }
  if (!lines.isEmpty()) ShowMessage(this, kDotlessCaption, lines);
}

void TLogoPage::actDeleteExecute() {
  QListWidget* list = Controls.ListLogo;
  const int count = list->count();
  if (count == 0) return;
  int row = count - 1;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  if (!selected.isEmpty()) row = list->row(selected.first());
  LogoPaths.erase(LogoPaths.begin() + row);
  delete list->takeItem(row);
  RebuildLogoSet();
  ShowLogoSpace();
  ShowPreview();
}

void TLogoPage::actAddLogoUpdate() {
  Controls.actAddLogo->setEnabled(CanAddLogo(Controls.ListLogo->count(), LogoSettings));
}

void TLogoPage::actDeleteUpdate() { Controls.actDelete->setEnabled(Controls.ListLogo->count() > 0); }

void TLogoPage::UpdateActions() {
  actAddLogoUpdate();
  actDeleteUpdate();
}

}  // namespace printset
