#include "ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace printset {

QString ApplicationTitle() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
}

namespace {

// The operator can select the texts, by mouse or keyboard, and copy them (a reason to
// paste into a report).
void MakeSelectable(QMessageBox& box) {
  constexpr Qt::TextInteractionFlags kSelectable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
  box.setTextInteractionFlags(kSelectable);
  if (auto* reason = box.findChild<QLabel*>("qt_msgbox_informativelabel")) reason->setTextInteractionFlags(kSelectable);
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text, const QString& reason) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setInformativeText(reason);
  MakeSelectable(box);
  box.exec();
}

bool AskMessage(QWidget* parent, const QString& text, const QString& reason, const QString& action) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setInformativeText(reason);
  const QAbstractButton* chosen = box.addButton(action, QMessageBox::ActionRole);
  MakeSelectable(box);
  box.exec();
  return box.clickedButton() == chosen;
}

void ShowErrorBox(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption.isEmpty() ? ApplicationTitle() : caption, text, QMessageBox::Ok,
                  parent);
  MakeSelectable(box);
  box.exec();
}

void ShowException(QWidget* parent, const std::exception& error) {
  QString text = QString::fromStdString(error.what());
  if (!text.endsWith('.')) text += '.';
  ShowErrorBox(parent, QString(), text);
}

}  // namespace printset
