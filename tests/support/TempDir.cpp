#include "TempDir.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>

namespace printset {

TTempDir::TTempDir() {
  namespace fs = std::filesystem;
  // create_directory is false for a name that exists: the folder is ours alone.
  std::mt19937_64 random(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = fs::temp_directory_path() / ("printset-test-" + std::to_string(random() % 1000000000));
    std::error_code error;
    if (fs::create_directory(folder, error)) {
      Folder = folder.generic_string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(Folder, ignored);
}

}  // namespace printset
