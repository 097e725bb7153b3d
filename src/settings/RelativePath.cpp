#include "settings/RelativePath.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace printset {

namespace {

// Where a Windows path starts: its drive ("C:") or its share ("//server/share"); empty for
// a path of one tree, such as every Linux path.
std::string_view Root(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) return path.substr(0, 2);
  if (path.substr(0, 2) != "//") return {};
  const size_t host = path.find('/', 2);
  return path.substr(0, host == std::string_view::npos ? host : path.find('/', host + 1));
}

// Drive letters and server names are the same in either case.
bool SameRoot(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

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
  const std::string_view fileRoot = Root(fullPath);
  const std::string_view folderRoot = Root(folderWithTrailingSlash);
  if (!SameRoot(fileRoot, folderRoot)) return fullPath;
  const std::string_view file = std::string_view(fullPath).substr(fileRoot.size());
  const size_t lastSeparator = file.rfind('/');
  const std::string_view fileFolder =
      lastSeparator == std::string_view::npos ? std::string_view() : file.substr(0, lastSeparator);
  const std::string_view fileName = file.substr(lastSeparator + 1);
  const std::vector<std::string_view> fileFolders = SplitNames(fileFolder);
  const std::vector<std::string_view> programFolders =
      SplitNames(std::string_view(folderWithTrailingSlash).substr(folderRoot.size()));

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
