#include "ui/WindowView.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QSoundEffect>
#include <QUrl>
#include <QWidget>
#include <utility>

#include "frontend/OperationRunner.h"
#include "ui/LogoPage.h"
#include "ui/MessageBoxes.h"

namespace printset {

TWindowView::TWindowView(QWidget& window, const TMainControls& controls, const TAppPaths& paths)
    : Window(window), Controls(controls), Paths(paths) {}

void TWindowView::ShowMessage(const std::string& title, const std::string& beneath) {
  printset::ShowMessage(&Window, QString::fromStdString(title), QString::fromStdString(beneath));
}

bool TWindowView::AskChoice(const std::string& title, const std::string& beneath, const std::string& action) {
  return AskMessage(&Window, QString::fromStdString(title), QString::fromStdString(beneath),
                    QString::fromStdString(action));
}

void TWindowView::ShowError(const std::string& caption, const std::string& text) {
  ShowErrorBox(&Window, QString::fromStdString(caption), QString::fromStdString(text));
}

void TWindowView::PlaySound(const std::string& fileName) {
  const QString path = QString::fromStdString(FindProgramFile(Paths, ExecutableFolder(), fileName));
  // The sound system is only woken for a file that is there: a missing sound is silence.
  if (path.isEmpty()) return;
  if (!Sound) Sound = new QSoundEffect(this);
  Sound->stop();
  Sound->setSource(QUrl::fromLocalFile(path));
  // Loads and plays in the background; the box is shown at once.
  Sound->play();
}

void TWindowView::ShowProgress(int32_t, int32_t, const std::string& text) {
  Controls.StatusPanel0->setText(QString::fromStdString(text));
}

void TWindowView::ShowStatusText(const std::string& text) { Controls.StatusPanel1->setText(QString::fromStdString(text)); }

void TWindowView::SetLinkRate(int32_t rate) { Controls.ComboBaud->setCurrentText(QString::number(rate)); }

void TWindowView::SetBusy(bool busy) {
  Controls.btSet->setEnabled(!busy);
  Controls.btUpdate->setEnabled(!busy);
  Controls.TabSheet3->SetDownloadEnabled(!busy);
  if (busy) {
    emit JobStarted();
    return;
  }
  // Greyed out, the button lost the focus to the PORT box; back on the button, Space
  // runs the operation again instead of typing over the port name.
  if (OperationButton) OperationButton->setFocus(Qt::OtherFocusReason);
  if (Controls.StatusPanel1->text() == kBusyText) Controls.StatusPanel1->clear();
}

TChosenFile TWindowView::ChooseImageFile(const std::string& startFolder) {
  QFileDialog* dialog = Controls.OpenDialog1;
  dialog->setDirectory(QString::fromStdString(startFolder));
  dialog->selectFile(QString());
  const int answer = dialog->exec();
  TChosenFile chosen;
  chosen.Folder = QDir(dialog->directory()).absolutePath().toStdString() + "/";
  if (answer == QDialog::Accepted) chosen.Path = dialog->selectedFiles().value(0).toStdString();
  return chosen;
}

void TWindowView::Post(std::function<void()> call) {
  QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

}  // namespace printset
