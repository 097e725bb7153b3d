// TLogoPageWin32: the NVRAM page of the Windows window, a view of the logo list model
// (TLogoList): "LOGO:" with ADD and DELETE, the list with its pop-up menu (ADD, a
// separator, DELETE), DOWNLOAD, "DOTS:" and "THRESHOLD:" (1 to 255), and the preview of
// the selected (or last) logo with its caption. What each change does to the list and
// the set is the model's; what DOWNLOAD does is the window's.
// The page's controls are children of the window itself, created in focus order (ADD,
// DELETE, the list, DOWNLOAD, DOTS, THRESHOLD), so that the window's dialog navigation
// takes them in that order after the controls created before the page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frontend/LogoList.h"
#include "settings/LogoSettings.h"

namespace printset::win32 {

class TLogoPageWin32 {
 public:
  // Creates the page's controls, hidden, as children of `window`, with the ids of
  // ControlIds.h; pictures are chosen from, and listed relative to, `configFolder`
  // (absolute, ending with a separator). Never fails.
  TLogoPageWin32(HWND window, std::string configFolder);
  ~TLogoPageWin32();
  TLogoPageWin32(const TLogoPageWin32&) = delete;
  TLogoPageWin32& operator=(const TLogoPageWin32&) = delete;

  // Places the controls with their top left at `origin` (the window's client
  // coordinates), sized for their longest texts in `font` at `dpi` (96 = 100 %); returns
  // the width and height they take. Called again whenever the font or DPI changes.
  // Never fails.
  SIZE Layout(POINT origin, HFONT font, UINT dpi);
  // Shows or hides the page's controls (the page is chosen or left). Never fails.
  void Show(bool shown);

  // The window's WM_COMMAND, WM_CONTEXTMENU, WM_NOTIFY and WM_VSCROLL for the page's own
  // controls; true when the message was the page's and is handled. Never fails.
  bool OnCommand(WPARAM wParam, LPARAM lParam);
  bool OnContextMenu(HWND control, POINT screenPoint);
  bool OnNotify(const NMHDR& header);

  // Called with "SPACE: ... Used, ... Free" after every change of the list. Never fails.
  void SetSpaceTextHandler(std::function<void(const std::string&)> handler);
  // Called when DOWNLOAD is clicked. Never fails.
  void SetDownloadHandler(std::function<void()> handler);

  // Takes the [LOGO] values: the set's room, widest picture, quantity, command, address,
  // dot rule and threshold. Never fails.
  void SetSettings(const TLogoSettings& settings);
  // Lists the pictures of `entries` (relative to the config folder, or absolute) and
  // packs them; a box for each message, and one naming those whose file has gone.
  // Call it once the window is shown. Never fails.
  void RestoreList(const std::vector<std::string>& entries);
  // The list's entries as it shows them. Never fails.
  std::vector<std::string> ListEntries() const;
  // The folder the ADD dialog opens in: `folder` when it exists, else the config folder.
  void SetPictureFolder(const std::string& folder);
  // The folder the ADD dialog was last left in (or was given); empty when neither.
  const std::string& PictureFolder() const;
  // The [LOGO] values in use, the dot rule and threshold as chosen. Never fails.
  const TLogoSettings& Settings() const;
  // The set packed from the list; not to be sent or saved unless IsLogoSetComplete().
  const std::vector<uint8_t>& LogoSet() const;
  bool IsLogoSetComplete() const;
  // The model the page shows. Never fails.
  const TLogoList& List() const;
  // Greys DOWNLOAD out or back in. Never fails.
  void SetDownloadEnabled(bool enabled);
  // DOWNLOAD, which gets the focus back after its operation. Never fails.
  HWND DownloadButton() const;

 private:
  class TImpl;
  std::unique_ptr<TImpl> Impl;
};

}  // namespace printset::win32
