#include "ui/BaudRateBox.h"

#include <QComboBox>
#include <stdexcept>

#include "frontend/OperatorChecks.h"
#include "settings/BaudRates.h"

namespace printset {

QString BaudRateItem(int32_t rate) { return QString::number(rate).rightJustified(6); }

QStringList BaudRateItems() {
  QStringList items;
  for (const int32_t rate : kBaudRates) items << BaudRateItem(rate);
  return items;
}

QString BaudRateText(const std::string& rate) {
  const QString text = QString::fromStdString(rate);
  bool number = false;
  const int value = text.toInt(&number);
  return number && value > 0 ? BaudRateItem(value) : text;
}

int32_t ChosenBaudRate(const QComboBox* box) {
  const TChecked<int32_t> rate = CheckBaudRate(box->currentText().toStdString(), TRateField::WindowBox);
  if (!rate) throw std::runtime_error(rate.Refusal().Text);
  return *rate;
}

}  // namespace printset
