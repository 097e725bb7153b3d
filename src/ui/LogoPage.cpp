#include "ui/LogoPage.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <utility>

#include "logo/LogoSet.h"
#include "logo/PictureLoader.h"
#include "settings/RelativePath.h"
#include "ui/MessageBoxes.h"

namespace printset {

TLogoPage::TLogoPage(std::string configFolder, QWidget* parent)
    : QWidget(parent), Controls(LayOutLogoPage(*this)), ConfigFolder(std::move(configFolder)) {
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

void TLogoPage::SetSettings(const TLogoSettings& settings) { LogoSettings = settings; }

void TLogoPage::SetDownloadEnabled(bool enabled) { Controls.btLOGO->setEnabled(enabled); }

void TLogoPage::PlaceInFocusChainAfter(QWidget* previous) { ChainLogoPageFocus(Controls, previous); }

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
  dialog->setDirectory(QString::fromStdString(ConfigFolder));
  dialog->selectFile(QString());  // no name left over from the last choice
  if (dialog->exec() != QDialog::Accepted) return;
  const QString chosen = dialog->selectedFiles().value(0);
  if (chosen.isEmpty()) return;
  const std::string fullPath = QFileInfo(chosen).absoluteFilePath().toStdString();
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
