#include "frontend/LogoList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "logo/DotlessLogos.h"
#include "logo/LogoSetReader.h"
#include "settings/LogoListSettings.h"
#include "settings/RelativePath.h"

namespace printset {

namespace {

constexpr const char* kVanishedCaption = "ERROR";
constexpr const char* kVanishedText = "pictures of the last logo list no longer found, left out of the list:";
constexpr const char* kDotlessCaption = "WARNING";
constexpr const char* kNoLogoCaption = "no logo";

// An entry as listed, resolved against the config folder unless it is absolute; with '/'
// separators, as names are made from them (Windows' own paths have '\').
std::string EntryPath(const std::string& entry, const std::string& configFolder) {
  const std::filesystem::path path(entry);
  return (path.is_absolute() ? path : std::filesystem::path(configFolder) / path).lexically_normal().generic_string();
}

}  // namespace

TLogoListMessage VanishedMessage(const std::vector<std::string>& vanished) {
  std::string text = kVanishedText;
  for (const std::string& entry : vanished) text += "\n" + entry;
  return {kVanishedCaption, text};
}

TLogoList::TLogoList(std::string configFolder, TPictureLoader load)
    : ConfigFolder(std::move(configFolder)), LoadPicture(std::move(load)) {}

void TLogoList::SetSettings(const TLogoSettings& settings) { LogoSettings = settings; }

bool TLogoList::CanAdd() const { return CanAddLogo(Count(), LogoSettings); }

void TLogoList::Append(const std::string& fullPath) {
  EntryPaths.push_back(fullPath);
  EntryNames.push_back(RelativeToFolder(fullPath, ConfigFolder));
}

std::vector<TLogoListMessage> TLogoList::Restore(const std::vector<std::string>& entries,
                                                 std::vector<std::string>& vanished) {
  for (const std::string& entry : entries) {
    if (!CanAdd()) break;
    const std::string path = EntryPath(entry, ConfigFolder);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
      vanished.push_back(entry);
      continue;
    }
    Append(path);
  }
  return EntryPaths.empty() ? std::vector<TLogoListMessage>{} : Rebuild();
}

std::vector<TLogoListMessage> TLogoList::Load(const TProfileFile& file, std::vector<std::string>& vanished) {
  return Restore(ReadLogoList(file), vanished);
}

bool TLogoList::Save(TProfileFile& file) const { return WriteLogoList(file, EntryNames); }

std::vector<TLogoListMessage> TLogoList::Rebuild() {
  Built = BuildLogoSet(EntryPaths, LogoSettings, LoadPicture);
  if (Built.Complete) return {};
  std::string reason = LogoFailureReason(Built.Failure);
  if (Built.FailedIndex >= 0 && Built.FailedIndex < Count())
    reason = EntryNames[static_cast<size_t>(Built.FailedIndex)] + ": " + reason;
  return {{LogoFailureMessage(Built.Failure), reason}};
}

std::vector<TLogoListMessage> TLogoList::RemoveAt(size_t index) {
  EntryPaths.erase(EntryPaths.begin() + static_cast<std::ptrdiff_t>(index));
  EntryNames.erase(EntryNames.begin() + static_cast<std::ptrdiff_t>(index));
  return Rebuild();
}

std::vector<TLogoListMessage> TLogoList::Add(const std::string& fullPath) {
  Append(fullPath);
  // The entry that failed leaves the list: mostly the one just added, but it may be an
  // earlier one whose file has gone. Each removal packs again, which may stop at the next.
  std::vector<TLogoListMessage> messages = Rebuild();
  while (!Built.Complete && Built.FailedIndex >= 0 && Built.FailedIndex < Count()) {
    std::vector<TLogoListMessage> more = RemoveAt(static_cast<size_t>(Built.FailedIndex));
    messages.insert(messages.end(), more.begin(), more.end());
  }
  if (Built.Complete) {
    std::vector<TLogoListMessage> dotless = DotlessLogos();
    messages.insert(messages.end(), dotless.begin(), dotless.end());
  }
  return messages;
}

std::vector<TLogoListMessage> TLogoList::Remove(int index) {
  if (EntryPaths.empty()) return {};
  const size_t at = index >= 0 && index < Count() ? static_cast<size_t>(index) : EntryPaths.size() - 1;
  return RemoveAt(at);
}

std::vector<TLogoListMessage> TLogoList::SetDotRule(TDotRule rule, int32_t threshold) {
  LogoSettings.Dots = rule;
  LogoSettings.Threshold = std::clamp(threshold, kMinDotThreshold, kMaxDotThreshold);
  return Rebuild();
}

std::vector<TLogoListMessage> TLogoList::DotlessLogos() const {
  std::string lines;
  for (const TDotlessLogo& logo : FindDotlessLogos(Built.Bytes, EntryPaths, LogoSettings, LoadPicture)) {
    const size_t at = static_cast<size_t>(logo.Index);
    const std::string& name = at < EntryNames.size() ? EntryNames[at] : EntryPaths[at];
    lines += (lines.empty() ? "" : "\n") + DotlessLogoText(logo, name, LogoSettings.Dots);
  }
  if (lines.empty()) return {};
  return {{kDotlessCaption, lines}};
}

std::string TLogoList::SpaceText() const {
  return FormatLogoSpace(static_cast<int64_t>(Built.Bytes.size()), LogoSettings.LogoSize);
}

TLogoPreviewImage TLogoList::Preview(int index) const {
  const TLogoSetContents contents = ReadBuiltLogos(Built);
  if (index == -1) index = Count() - 1;
  if (index < 0 || static_cast<size_t>(index) >= contents.Logos.size()) return {{}, kNoLogoCaption};
  const TPackedLogo& logo = contents.Logos[static_cast<size_t>(index)];
  return {DrawLogos(Built.Bytes, {logo}), std::to_string(index + 1) + ": " + std::to_string(logo.Width()) + " x " +
                                              std::to_string(logo.Height) + " dots, " + std::to_string(logo.Size()) +
                                              " bytes"};
}

std::string TLogoList::DialogFolder() const { return LastPictureFolder.empty() ? ConfigFolder : LastPictureFolder; }

void TLogoList::SetPictureFolder(const std::string& folder) {
  std::error_code error;
  LastPictureFolder = !folder.empty() && std::filesystem::is_directory(folder, error) ? folder : std::string();
}

}  // namespace printset
