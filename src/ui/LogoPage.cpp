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
#include <utility>

#include "logo/PictureLoader.h"
#include "ui/DotRuleBox.h"
#include "ui/LogoPreview.h"
#include "ui/MessageBoxes.h"

namespace printset {

namespace {

constexpr int kExtrasGap = 8;  // between DOWNLOAD and the rule and preview beneath it

}  // namespace

TLogoPage::TLogoPage(std::string configFolder, QWidget* parent)
    : QWidget(parent),
      Controls(LayOutLogoPage(*this)),
      Model(std::move(configFolder), PictureLoaderOn(SystemPictureDecoder())) {
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
  Model.SetSettings(settings);
  RuleBox->Show(settings.Dots, settings.Threshold);
}

void TLogoPage::SetPictureFolder(const std::string& folder) { Model.SetPictureFolder(folder); }

void TLogoPage::RestoreList(const std::vector<std::string>& entries) {
  std::vector<std::string> vanished;
  const std::vector<TLogoListMessage> messages = Model.Restore(entries, vanished);
  SyncItems();
  if (Model.Count() > 0) emit SpaceTextChanged(QString::fromStdString(Model.SpaceText()));
  ShowPreview();
  for (const TLogoListMessage& message : messages)
    ShowMessage(this, QString::fromStdString(message.Caption), QString::fromStdString(message.Text));
  // After the window has come up, over it rather than before it.
  if (!vanished.empty())
    QMetaObject::invokeMethod(this, [this, vanished] {
      const TLogoListMessage message = VanishedMessage(vanished);
      ShowMessage(this, QString::fromStdString(message.Caption), QString::fromStdString(message.Text));
    }, Qt::QueuedConnection);
}

std::vector<std::string> TLogoPage::ListEntries() const { return Model.Names(); }

void TLogoPage::DotRuleChanged() { ShowChange(Model.SetDotRule(RuleBox->Rule(), RuleBox->Threshold())); }

void TLogoPage::ShowChange(const std::vector<TLogoListMessage>& messages) {
  SyncItems();
  emit SpaceTextChanged(QString::fromStdString(Model.SpaceText()));
  ShowPreview();
  for (const TLogoListMessage& message : messages)
    ShowMessage(this, QString::fromStdString(message.Caption), QString::fromStdString(message.Text));
}

void TLogoPage::SyncItems() {
  // The model only appends and takes out: items that no longer match go, in order, and
  // the names still missing are added at the end.
  QListWidget* list = Controls.ListLogo;
  const std::vector<std::string>& names = Model.Names();
  size_t kept = 0;
  for (int row = 0; row < list->count();) {
    if (kept < names.size() && list->item(row)->text().toStdString() == names[kept]) {
      ++kept;
      ++row;
    } else {
      delete list->takeItem(row);
    }
  }
  for (; kept < names.size(); ++kept) list->addItem(QString::fromStdString(names[kept]));
}

void TLogoPage::ShowPreview() {
  const QListWidget* list = Controls.ListLogo;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  Preview->ShowLogo(Model.Preview(selected.isEmpty() ? -1 : list->row(selected.first())));
}

void TLogoPage::SetDownloadEnabled(bool enabled) { Controls.btLOGO->setEnabled(enabled); }

QWidget* TLogoPage::DownloadButton() const { return Controls.btLOGO; }

void TLogoPage::PlaceInFocusChainAfter(QWidget* previous) {
  ChainLogoPageFocus(Controls, previous);
  QWidget::setTabOrder(Controls.btLOGO, RuleBox);
}

void TLogoPage::actAddLogoExecute() {
  QFileDialog* dialog = Controls.OpenPictureDialog1;
  dialog->setDirectory(QString::fromStdString(Model.DialogFolder()));
  dialog->selectFile(QString());  // no name left over from the last choice
  const int answer = dialog->exec();
  Model.PictureFolderLeft(QDir(dialog->directory()).absolutePath().toStdString() + "/");
  if (answer != QDialog::Accepted) return;
  const QString chosen = dialog->selectedFiles().value(0);
  if (chosen.isEmpty()) return;
  // The new entry is the one shown: the last, with nothing selected.
  Controls.ListLogo->clearSelection();
  ShowChange(Model.Add(QFileInfo(chosen).absoluteFilePath().toStdString()));
}

void TLogoPage::actDeleteExecute() {
  if (!Model.CanRemove()) return;
  const QListWidget* list = Controls.ListLogo;
  const QList<QListWidgetItem*> selected = list->selectedItems();
  ShowChange(Model.Remove(selected.isEmpty() ? -1 : list->row(selected.first())));
}

void TLogoPage::UpdateActions() {
  Controls.actAddLogo->setEnabled(Model.CanAdd());
  Controls.actDelete->setEnabled(Model.CanRemove());
}

}  // namespace printset
