#include "ui/win32/ComboBoxWin32.h"

#include <charconv>

#include "settings/BaudRates.h"

namespace printset::win32 {

namespace {

// The places a rate takes in a BAUD RATE box, the fastest being six digits.
constexpr size_t kBaudRatePlaces = 6;

}  // namespace

std::string BaudRateItem(int32_t rate) {
  const std::string digits = std::to_string(rate);
  return digits.size() >= kBaudRatePlaces ? digits : std::string(kBaudRatePlaces - digits.size(), ' ') + digits;
}

std::vector<std::string> BaudRateItems() {
  std::vector<std::string> items;
  for (const int32_t rate : kBaudRates) items.push_back(BaudRateItem(rate));
  return items;
}

std::string BaudRateText(const std::string& rate) {
  int32_t value = 0;
  const char* end = rate.data() + rate.size();
  const auto [stop, error] = std::from_chars(rate.data(), end, value);
  return error == std::errc() && stop == end && value > 0 ? BaudRateItem(value) : rate;
}

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(control, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

void SetComboItems(HWND box, const std::vector<std::string>& items) {
  const std::string text = ControlText(box);
  static_cast<void>(SendMessageA(box, CB_RESETCONTENT, 0, 0));
  for (const std::string& item : items)
    static_cast<void>(SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())));
  ShowComboText(box, text);
}

std::vector<std::string> ComboItems(HWND box) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) {
      items.emplace_back();
      continue;
    }
    std::string item(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied = SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    items.push_back(item);
  }
  return items;
}

void ShowComboText(HWND box, const std::string& text) {
  // The box's own search ignores case; an item is taken only as it is spelt.
  const std::vector<std::string> items = ComboItems(box);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) {
      static_cast<void>(SendMessageA(box, CB_SETCURSEL, i, 0));
      return;
    }
  }
  static_cast<void>(SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0));
  static_cast<void>(SetWindowTextA(box, text.c_str()));
}

}  // namespace printset::win32
