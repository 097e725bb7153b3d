#include "ui/CodePageBox.h"

#include <QComboBox>
#include <QStringList>
#include <stdexcept>

namespace printset {

namespace {

// Entries named in the refusal; a longer list is cut there and its length given.
constexpr int kMostEntriesNamed = 20;

QString EntryListText(const QComboBox* box) {
  QStringList names;
  for (int i = 0; i < box->count() && i < kMostEntriesNamed; ++i) names << "'" + box->itemText(i) + "'";
  QString list = names.join(", ");
  if (box->count() > kMostEntriesNamed) list += QString(", ... (%1 entries)").arg(box->count());
  return list;
}

}  // namespace

int ChosenCodePageIndex(QComboBox* box) {
  if (box->count() == 0) return -1;
  const QString text = box->currentText().trimmed();
  // The current entry first: two entries may share a name but not their numbers.
  int index = box->currentIndex();
  if (index < 0 || box->itemText(index).trimmed() != text)
    index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) {
    // The box shows the entry that is sent.
    if (box->currentText() != box->itemText(index)) {
      box->setCurrentIndex(index);
      box->setEditText(box->itemText(index));
    }
    return index;
  }
  throw std::runtime_error("'" + text.toStdString() + "' is not a code page of the list; choose one of " +
                           EntryListText(box).toStdString());
}

}  // namespace printset
