// A folder of its own for one test, removed with everything in it at the end.
#pragma once

#include <string>

namespace printset {

class TTempDir {
 public:
  TTempDir();  // throws std::runtime_error when it cannot be made
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return Folder; }  // without a trailing separator
  std::string File(const std::string& name) const { return Folder + "/" + name; }

 private:
  std::string Folder;
};

}  // namespace printset
