// printset-window-shots PRINTSET.EXE FOLDER HANDSHAKE_FOLDER: not a test. Starts the
// window in FOLDER (portable there) and shows its pages in turn for window-screenshots.sh,
// which takes the pictures: for each page it writes HANDSHAKE_FOLDER\PAGE.rect, the
// window's place on the screen as "LEFT TOP WIDTH HEIGHT", and waits for PAGE.done, the
// sign that the picture is taken. Exits 0 when every page was taken, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/wine/DrivenWindow.h"
#include "ui/win32/ControlIds.h"

using namespace printset;

namespace {

constexpr const char* kPages[] = {"para", "update", "nvram"};
// Time for a page's controls to paint once it is shown (no message says they have).
constexpr DWORD kPaintMs = 700;
// How long the script may take for a picture.
constexpr uint32_t kPictureMs = 60000;

void ShowAndWait(TDrivenWindow& window, int page, const std::string& handshake) {
  window.ShowPage(win32::kIdPageControl, page);
  RedrawWindow(window.Main(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(kPaintMs);
  RECT place{};
  if (!GetWindowRect(window.Main(), &place)) throw std::runtime_error("the window has no place on the screen");
  const std::string name = handshake + "\\" + kPages[page];
  {
    std::ofstream rect(name + ".rect.part");
    rect << place.left << ' ' << place.top << ' ' << (place.right - place.left) << ' ' << (place.bottom - place.top)
         << '\n';
  }
  // Renamed once whole, so that the script never reads half a line.
  std::filesystem::rename(name + ".rect.part", name + ".rect");
  WaitUntil(std::string("the picture of ") + kPages[page], kPictureMs,
            [&] { return std::filesystem::exists(name + ".done"); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: printset-window-shots PRINTSET.EXE FOLDER HANDSHAKE_FOLDER\n");
    return 2;
  }
  try {
    TDrivenWindow window(argv[1], argv[2]);
    for (int page = 0; page < static_cast<int>(std::size(kPages)); ++page) ShowAndWait(window, page, argv[3]);
    if (window.Close() != 0) throw std::runtime_error("printset.exe did not end cleanly");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "printset-window-shots: %s\n", error.what());
    return 1;
  }
  return 0;
}
