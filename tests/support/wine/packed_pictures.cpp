// Not a test: the picture cases packed under every dot rule by Qt's picture reader, one
// line each, for the Windows build to compare its own packing with (make test-windows).
// With a FOLDER, the case files are written there too, as 01.pic, 02.pic, ... in order.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "logo/PictureCases.h"
#include "logo/PictureLoader.h"
#include "support/TempDir.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fputs("usage: printset-packed-pictures [FOLDER]\n", stderr);
    return 2;
  }
  if (argc == 2) {
    const std::vector<printset::TPictureCase> cases = printset::PictureCases();
    for (size_t i = 0; i < cases.size(); ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "/%02zu.pic", i + 1);
      std::ofstream file(std::string(argv[1]) + name, std::ios::binary | std::ios::trunc);
      if (!(file << cases[i].File)) return 1;
    }
  }
  const printset::TTempDir folder;
  for (const std::string& line :
       printset::PackedCaseLines(folder.Path(), printset::PictureLoaderOn(printset::SystemPictureDecoder())))
    std::printf("%s\n", line.c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}
