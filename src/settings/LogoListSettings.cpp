#include "settings/LogoListSettings.h"

#include <algorithm>

namespace printset {

namespace {
constexpr const char* kListSection = "LOGOFILES";
constexpr const char* kCountKey = "COUNT";
constexpr int32_t kMostEntries = 255;  // the logo set's one-byte count

std::string FileKey(size_t index) { return "FILE" + std::to_string(index + 1); }
}  // namespace

std::vector<std::string> ReadLogoList(const TProfileFile& file) {
  std::vector<std::string> paths;
  const int32_t count = file.ReadInteger(kListSection, kCountKey, 0);
  if (count < 1 || count > kMostEntries) return paths;
  for (size_t i = 0; i < static_cast<size_t>(count); ++i) {
    const std::string path = file.ReadString(kListSection, FileKey(i)).value_or("");
    if (!path.empty()) paths.push_back(path);
  }
  return paths;
}

bool WriteLogoList(TProfileFile& file, const std::vector<std::string>& paths) {
  // A file that never had a list gets no section for an empty one.
  if (paths.empty() && !file.ReadString(kListSection, kCountKey)) return true;
  const int32_t before = std::clamp(file.ReadInteger(kListSection, kCountKey, 0), 0, kMostEntries);
  if (!file.WriteInteger(kListSection, kCountKey, static_cast<int32_t>(paths.size()))) return false;
  for (size_t i = 0; i < paths.size(); ++i)
    if (!file.WriteString(kListSection, FileKey(i), paths[i])) return false;
  for (size_t i = paths.size(); i < static_cast<size_t>(before); ++i)
    if (!file.WriteString(kListSection, FileKey(i), "")) return false;
  return true;
}

}  // namespace printset
