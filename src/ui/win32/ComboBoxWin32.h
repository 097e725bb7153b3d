// The window's combo boxes: their items filled and read, a text shown as the box's own
// item where it is one, and the BAUD RATE boxes' items.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace printset::win32 {

// A rate as a box item: right-aligned in six places ("  9600"). Never fails.
std::string BaudRateItem(int32_t rate);
// The printer's rates as box items, slowest first. Never fails.
std::vector<std::string> BaudRateItems();
// A remembered rate as the box shows it: the box's own item when it is a positive
// number, else the text as it stands. Never fails.
std::string BaudRateText(const std::string& rate);

// Replaces the items of `box` with `items`; the text in its field stays. Never fails.
void SetComboItems(HWND box, const std::vector<std::string>& items);
// The items of `box`, in order. Never fails.
std::vector<std::string> ComboItems(HWND box);
// Selects the item that reads exactly `text`, so that the list opens on it; a text that is
// no item stands in the field as if typed. Never fails.
void ShowComboText(HWND box, const std::string& text);

// The text of a control (a box's field, a label). Never fails.
std::string ControlText(HWND control);

}  // namespace printset::win32
