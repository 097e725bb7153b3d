#include "settings/RelativePath.h"

#include <string_view>
#include <vector>

namespace printset {

namespace {

// Names between separators; doubled separators give no empty names.
std::vector<std::string_view> SplitNames(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

std::string RelativeToFolder(const std::string& fullPath, const std::string& folderWithTrailingSlash) {
  const size_t lastSeparator = fullPath.rfind('/');
  const std::string_view fileFolder =
      lastSeparator == std::string::npos ? std::string_view() : std::string_view(fullPath).substr(0, lastSeparator);
  const std::string_view fileName = std::string_view(fullPath).substr(lastSeparator + 1);
  const std::vector<std::string_view> fileFolders = SplitNames(fileFolder);
  const std::vector<std::string_view> programFolders = SplitNames(folderWithTrailingSlash);

  size_t shared = 0;
  while (shared < fileFolders.size() && shared < programFolders.size() &&
         fileFolders[shared] == programFolders[shared])
    ++shared;

  std::string relative;
  for (size_t i = shared; i < programFolders.size(); ++i) relative += "../";
  for (size_t i = shared; i < fileFolders.size(); ++i) {
    relative += fileFolders[i];
    relative += '/';
  }
  relative += fileName;
  return relative;
}

}  // namespace printset
