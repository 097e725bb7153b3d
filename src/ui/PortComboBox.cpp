#include "ui/PortComboBox.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

namespace printset {

TPortComboBox::TPortComboBox(QWidget* parent, TLister lister) : QComboBox(parent), Lister(std::move(lister)) {
  // Typed text is never added to the items: what is listed is what is plugged in.
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::currentTextChanged, this, [this] { UpdateToolTip(); });
}

void TPortComboBox::Refresh() {
  const QString text = currentText();
  {
    const QSignalBlocker quiet(this);
    clear();
    for (const TPortEntry& entry : Lister()) {
      addItem(QString::fromStdString(entry.Text));
      if (!entry.Detail.empty()) setItemData(count() - 1, QString::fromStdString(entry.Detail), Qt::ToolTipRole);
    }
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) setCurrentIndex(index);
    else setEditText(text);
  }
  // Every entry in view at once: the devices plugged in come after the fixed names.
  setMaxVisibleItems(std::max(count(), 1));
  QAbstractItemView* list = view();
  const int frame = 2 * list->frameWidth();
  const int scrollBar = list->verticalScrollBar()->sizeHint().width();
  list->setMinimumWidth(std::max(width(), list->sizeHintForColumn(0) + frame + scrollBar));
  UpdateToolTip();
}

void TPortComboBox::SetPortMap(const TPortMap& portMap) {
  PortMap = portMap;
  UpdateToolTip();
}

void TPortComboBox::showPopup() {
  Refresh();
  QComboBox::showPopup();
}

// The whole path, which a long by-id name needs; for COMn the device it stands for.
void TPortComboBox::UpdateToolTip() {
  const std::string name = currentText().trimmed().toStdString();
  setToolTip(name.empty() ? QString() : QString::fromStdString(ResolvePortName(name, PortMap)));
}

}  // namespace printset
