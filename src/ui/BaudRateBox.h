// What the BAUD RATE boxes show and what is read from them.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>

class QComboBox;

namespace printset {

// A rate as a box item: right-aligned in six places ("  9600"). Never fails.
QString BaudRateItem(int32_t rate);

// The printer's rates as box items, slowest first. Never fails.
QStringList BaudRateItems();

// A remembered rate as the box shows it: the box's own item when it is a positive
// number, else the text as it stands. Never fails.
QString BaudRateText(const std::string& rate);

// The rate `box` shows, as the core's CheckBaudRate takes a box's text: std::runtime_error
// with the refusal's text when it is not a whole number or not one of the printer's
// rates, so that a printer is never told, or talked to at, a rate it does not have.
int32_t ChosenBaudRate(const QComboBox* box);

}  // namespace printset
