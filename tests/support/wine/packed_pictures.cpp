// Not a test: the picture cases packed under every dot rule by Qt's picture reader, one
// line each, for the Windows build to compare its own packing with (make test-windows).
#include <cstdio>
#include <string>

#include "logo/PictureCases.h"
#include "logo/PictureLoader.h"
#include "support/TempDir.h"

int main() {
  const printset::TTempDir folder;
  for (const std::string& line :
       printset::PackedCaseLines(folder.Path(), printset::PictureLoaderOn(printset::SystemPictureDecoder())))
    std::printf("%s\n", line.c_str());
  return std::fflush(stdout) == 0 ? 0 : 1;
}
