// TLogoList: the NVRAM page's logo list as a model, for any window. The pictures listed,
// the logo set packed from them after every change, the space it takes, the preview of
// one logo, and what the operator is to be told: a picture that failed (and, when one
// was added, the entry that failed leaves the list), files that vanished since the list
// was saved, logos without a dot. The list is kept in [LOGOFILES] of config.ini, each
// picture named relative to the config folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logo/DotBitmap.h"
#include "logo/LogoSet.h"
#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"

namespace printset {

// A box for the operator: its caption ("ERROR", "Picture invalid", "WARNING") and text.
struct TLogoListMessage {
  std::string Caption;
  std::string Text;
  bool operator==(const TLogoListMessage&) const = default;
};

// One logo as the preview shows it: its dots, and "N: W x H dots, B bytes" or "no logo".
struct TLogoPreviewImage {
  TDotBitmap Dots;
  std::string Caption;
};

// The box naming the entries of a restored list whose file has gone. Never fails.
TLogoListMessage VanishedMessage(const std::vector<std::string>& vanished);

class TLogoList {
 public:
  // Pictures are listed relative to `configFolder` (absolute, ending with '/') and read
  // by `load`. The list starts empty, with no set packed (an empty set). Never fails.
  TLogoList(std::string configFolder, TPictureLoader load);

  // Takes the [LOGO] values: the set's room, widest picture, quantity, command, address,
  // dot rule and threshold; the set is packed again only by the next change. Never fails.
  void SetSettings(const TLogoSettings& settings);
  const TLogoSettings& Settings() const { return LogoSettings; }

  // Lists the pictures of `entries` (as Names gave them: relative to the config folder,
  // or absolute), up to MaxLogoEntries, and packs them when there is one; a message when
  // a picture fails to pack. The entries whose file has gone are left out and put into
  // `vanished`, as listed (VanishedMessage names them). Never fails.
  std::vector<TLogoListMessage> Restore(const std::vector<std::string>& entries, std::vector<std::string>& vanished);
  // Restore of the entries [LOGOFILES] of `file` lists. Never fails.
  std::vector<TLogoListMessage> Load(const TProfileFile& file, std::vector<std::string>& vanished);
  // Writes Names into [LOGOFILES] of `file`; false when the file cannot be written
  // (TProfileFile::LastError tells why).
  bool Save(TProfileFile& file) const;

  // Adds the picture at `fullPath` (absolute) as the last entry and packs the set again;
  // the entry that fails (the new one, or an earlier one whose file has gone) leaves the
  // list, and the set is packed again until it is whole. A message for each failure, then
  // one naming the logos without a dot of the whole set. Never fails.
  std::vector<TLogoListMessage> Add(const std::string& fullPath);
  // Takes out entry `index` (from 0), or the last when `index` is outside the list, and
  // packs the set again; nothing for an empty list. A message when a picture fails.
  // Never fails.
  std::vector<TLogoListMessage> Remove(int index);
  // Packs the set again under another rule and threshold (clamped to 1 to 255); a
  // message when a picture fails. Never fails.
  std::vector<TLogoListMessage> SetDotRule(TDotRule rule, int32_t threshold);

  // The entries as listed: relative to the config folder where the file lies under it
  // or beside it, else absolute. Never fails.
  const std::vector<std::string>& Names() const { return EntryNames; }
  // The entries' full paths, in list order. Never fails.
  const std::vector<std::string>& Paths() const { return EntryPaths; }
  int Count() const { return static_cast<int>(EntryPaths.size()); }
  // Whether ADD may take one more entry. Never fails.
  bool CanAdd() const;
  // Whether DELETE has an entry to take out. Never fails.
  bool CanRemove() const { return !EntryPaths.empty(); }

  // The set packed from the list; it must not be sent or saved unless IsComplete.
  // Empty until the list is first packed. Never fails.
  const std::vector<uint8_t>& Set() const { return Built.Bytes; }
  // False after a packing that stopped at a failing picture. Never fails.
  bool IsComplete() const { return Built.Complete; }
  // The entry the last packing stopped at; -1 when it did not stop. Never fails.
  int FailedIndex() const { return Built.FailedIndex; }
  // "SPACE: ... Used, ... Free" for the set as packed. Never fails.
  std::string SpaceText() const;
  // Logo `index` (from 0) as it will print, or the last when `index` is -1; the logos
  // before a failing entry can still be shown; "no logo" when there is no such logo.
  // Never fails.
  TLogoPreviewImage Preview(int index) const;

  // The folder ADD's file choice opens in: where a picture was last chosen, else the
  // config folder. Never fails.
  std::string DialogFolder() const;
  // Where a picture was last chosen (the window's settings keep it); empty when none.
  const std::string& PictureFolder() const { return LastPictureFolder; }
  // `folder` when it exists, else none. Never fails.
  void SetPictureFolder(const std::string& folder);
  // The folder the file choice was left in, whatever the choice (absolute, ending with
  // '/'). Never fails.
  void PictureFolderLeft(const std::string& folder) { LastPictureFolder = folder; }

 private:
  // Packs the set from the list; a message when a picture fails, naming its entry.
  std::vector<TLogoListMessage> Rebuild();
  void Append(const std::string& fullPath);
  std::vector<TLogoListMessage> RemoveAt(size_t index);
  std::vector<TLogoListMessage> DotlessLogos() const;

  std::string ConfigFolder;
  TPictureLoader LoadPicture;
  TLogoSettings LogoSettings;
  std::vector<std::string> EntryPaths;
  std::vector<std::string> EntryNames;
  TLogoSetResult Built{{}, true, TLogoFailure::None, -1};
  std::string LastPictureFolder;
};

}  // namespace printset
