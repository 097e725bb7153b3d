#include "CliHost.h"

#include <cstdio>

namespace printset {

void TCliHost::Notify(uint32_t message, int32_t wParam, int32_t lParam) {
  if (message == kMessageProgress) Board.Update(0, wParam, lParam);
}

void TCliHost::ShowStatusText(const std::string& text) {
  if (ShowStatus) Board.Print(stderr, text + "\n");
}

}  // namespace printset
