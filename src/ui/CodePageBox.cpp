#include "ui/CodePageBox.h"

#include <QComboBox>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontend/OperatorChecks.h"

namespace printset {

int ChosenCodePageIndex(QComboBox* box) {
  std::vector<std::string> entries;
  for (int i = 0; i < box->count(); ++i) entries.push_back(box->itemText(i).toStdString());
  const TChecked<int> entry = CodePageEntry(entries, box->currentIndex(), box->currentText().toStdString());
  if (!entry) throw std::runtime_error(entry.Refusal().Text);
  const int index = *entry;
  // The box shows the entry that is sent.
  if (index >= 0 && box->currentText() != box->itemText(index)) {
    box->setCurrentIndex(index);
    box->setEditText(box->itemText(index));
  }
  return index;
}

}  // namespace printset
