#include "ui/MessageBoxes.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QMessageBox>

namespace printset {

QString ApplicationTitle() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName().section('.', 0, 0);
}

void ShowMessage(QWidget* parent, const QString& text, const QString& reason) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setInformativeText(reason);
  box.exec();
}

bool AskMessage(QWidget* parent, const QString& text, const QString& reason, const QString& action) {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setInformativeText(reason);
  const QAbstractButton* chosen = box.addButton(action, QMessageBox::ActionRole);
  box.exec();
  return box.clickedButton() == chosen;
}

void ShowException(QWidget* parent, const std::exception& error) {
  QString text = QString::fromStdString(error.what());
  if (!text.endsWith('.')) text += '.';
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace printset
