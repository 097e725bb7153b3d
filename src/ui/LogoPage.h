// TLogoPage: the NVRAM page. The logo list with its ADD and DELETE actions and popup
// menu, the logo set packed from the list after every change, and the space it takes.
// DOWNLOAD sits on the page; what it does is the window's.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/LogoSettings.h"
#include "ui/UniLayout.h"

namespace printset {

class TLogoPage : public QWidget {
  Q_OBJECT

 public:
  // Lays out the page's controls on it; pictures are chosen from, and listed relative
  // to, `configFolder`. Never fails.
  explicit TLogoPage(std::string configFolder, QWidget* parent = nullptr);

  // Takes the [LOGO] values: the set's room, widest picture, quantity, command and
  // address. Never fails.
  void SetSettings(const TLogoSettings& settings);
  // The [LOGO] values in use. Never fails.
  const TLogoSettings& Settings() const { return LogoSettings; }
  // The set packed from the list; it must not be sent or saved when the set is not
  // complete. Never fails.
  const std::vector<uint8_t>& LogoSet() const { return LogoSetBuffer; }
  // False after a rebuild that stopped at a failing picture. Never fails.
  bool IsLogoSetComplete() const { return LogoSetComplete; }
  // Greys DOWNLOAD out or back in; a click on it comes out as DownloadClicked. Never fails.
  void SetDownloadEnabled(bool enabled);
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
  void actAddLogoUpdate();
  void actDeleteUpdate();
  void UpdateActions();
  // Rebuilds LogoSetBuffer from LogoPaths; false (after the operator's message) when a
  // picture failed, and the buffer then must not be sent.
  bool RebuildLogoSet();
  void ShowLogoSpace();

  TLogoPageControls Controls;
  std::string ConfigFolder;
  TLogoSettings LogoSettings;
  std::vector<std::string> LogoPaths;
  std::vector<uint8_t> LogoSetBuffer;
  bool LogoSetComplete = true;  // false after a rebuild that stopped at a failing picture
  int LogoSetFailedIndex = -1;  // the entry it stopped at
};

}  // namespace printset
