// TLogoPage: the NVRAM page, a Qt view of the logo list model (TLogoList). The list with
// its ADD and DELETE actions and popup menu, the space the set takes, the dot rule and
// threshold the set is packed with, and a preview of the selected (or last) logo as it
// will print; what each change does to the list and the set is the model's. DOWNLOAD
// sits on the page; what it does is the window's.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/LogoList.h"
#include "settings/LogoSettings.h"
#include "ui/UniLayout.h"

namespace printset {

class TDotRuleBox;
class TLogoPreview;

class TLogoPage : public QWidget {
  Q_OBJECT

 public:
  // Lays out the page's controls on it; pictures are chosen from, and listed relative
  // to, `configFolder`. Never fails.
  explicit TLogoPage(std::string configFolder, QWidget* parent = nullptr);

  // Takes the [LOGO] values: the set's room, widest picture, quantity, command, address,
  // dot rule and threshold. Never fails.
  void SetSettings(const TLogoSettings& settings);
  // Lists the pictures of `entries` (as ListEntries gave them: relative to the config
  // folder, or absolute) and packs them; those whose file has gone are left out and
  // named in one box once the event loop runs. Never fails.
  void RestoreList(const std::vector<std::string>& entries);
  // The list's entries as it shows them. Never fails.
  std::vector<std::string> ListEntries() const;
  // The folder the ADD dialog opens in: `folder` when it exists, else the config folder.
  // Never fails.
  void SetPictureFolder(const std::string& folder);
  // The folder the ADD dialog was last left in (or was given); empty when neither. Never fails.
  const std::string& PictureFolder() const { return Model.PictureFolder(); }
  // The [LOGO] values in use. Never fails.
  const TLogoSettings& Settings() const { return Model.Settings(); }
  // The set packed from the list; it must not be sent or saved when the set is not
  // complete. Never fails.
  const std::vector<uint8_t>& LogoSet() const { return Model.Set(); }
  // False after a rebuild that stopped at a failing picture. Never fails.
  bool IsLogoSetComplete() const { return Model.IsComplete(); }
  // The logo list the page shows. Never fails.
  const TLogoList& List() const { return Model; }
  // Greys DOWNLOAD out or back in; a click on it comes out as DownloadClicked. Never fails.
  void SetDownloadEnabled(bool enabled);
  // DOWNLOAD, which gets the focus back after its operation. Never fails.
  QWidget* DownloadButton() const;
  // Puts ADD, DELETE, the list and DOWNLOAD right after `previous` in the focus chain.
  // Never fails.
  void PlaceInFocusChainAfter(QWidget* previous);

 signals:
  void DownloadClicked();
  // The space the set takes ("SPACE: ... Used, ... Free"), after every change of the list.
  void SpaceTextChanged(const QString& text);

 private:
  void actAddLogoExecute();
  void actDeleteExecute();
  void UpdateActions();
  // Shows what the model says after a change: the list's entries, the space, the preview,
  // then the model's messages, one box each.
  void ShowChange(const std::vector<TLogoListMessage>& messages);
  // Makes the list widget's items the model's names, taking out the items that went.
  void SyncItems();
  // Shows the selected logo, or the last when none is selected.
  void ShowPreview();
  void DotRuleChanged();

  TLogoPageControls Controls;
  TDotRuleBox* RuleBox = nullptr;
  TLogoPreview* Preview = nullptr;
  TLogoList Model;
};

}  // namespace printset
