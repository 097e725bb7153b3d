#include "TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace printset {

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "printset-test-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!::mkdtemp(name.data())) throw std::runtime_error("cannot create a temporary folder");
  Folder = name.data();
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Folder, ignored);
}

}  // namespace printset
