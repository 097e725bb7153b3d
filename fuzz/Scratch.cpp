#include "Scratch.h"

#include <cstdio>

#include "FuzzCheck.h"
#include "support/TempDir.h"

namespace printset {

std::string ScratchPath(const std::string& name) {
  static const TTempDir folder;
  return folder.File(name);
}

void WriteScratchFile(const std::string& path, const uint8_t* bytes, size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr);
  const bool written = std::fwrite(bytes, 1, size, file) == size;
  Require(std::fclose(file) == 0 && written);
}

}  // namespace printset
