#include "ui/win32/BoxesWin32.h"

#include <string>

namespace printset::win32 {

std::string ApplicationTitle() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "printset";
  std::string name(path, length);
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  return name.empty() ? "printset" : name;
}

void ShowMessageBox(HWND owner, const std::string& text, const std::string& beneath) {
  const std::string shown = beneath.empty() ? text : text + "\n\n" + beneath;
  static_cast<void>(MessageBoxA(owner, shown.c_str(), ApplicationTitle().c_str(), MB_OK));
}

void ShowErrorBox(HWND owner, const std::string& caption, const std::string& text) {
  const std::string title = caption.empty() ? ApplicationTitle() : caption;
  static_cast<void>(MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONSTOP));
}

}  // namespace printset::win32
