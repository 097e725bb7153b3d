// Where the window's controls go and what they are called: the layouts that place them
// in the desktop's font, captions, accessible names, object names and the order of the
// focus chain. Buttons and menu items are linked to their actions here; what the
// controls do is connected by TfrmMain and TLogoPage.
#pragma once

#include <string>

class QAction;
class QComboBox;
class QFileDialog;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QObject;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QVBoxLayout;
class QWidget;

namespace printset {

class TLogoPage;
class TPortComboBox;

// The controls of the NVRAM page; all are children of the page. The page is a column:
// the LOGO: row with ADD and DELETE, the list, then DownloadRow with DOWNLOAD at its left.
// A control of the page's own goes into PageLayout (a row of its own, e.g. inserted
// before DownloadRow) or into DownloadRow beside DOWNLOAD; the window then grows to fit.
struct TLogoPageControls {
  QVBoxLayout* PageLayout = nullptr;
  QHBoxLayout* DownloadRow = nullptr;
  QLabel* Label13 = nullptr;
  QObject* ActionList1 = nullptr;
  QAction* actAddLogo = nullptr;
  QAction* actDelete = nullptr;
  QPushButton* btAddLogo = nullptr;     // follows actAddLogo
  QPushButton* btDeleteLogo = nullptr;  // follows actDelete
  QListWidget* ListLogo = nullptr;
  QPushButton* btLOGO = nullptr;
  QMenu* PopupMenu1 = nullptr;          // ADD1, the separator N1, DELETE1
  QAction* ADD1 = nullptr;              // follows actAddLogo
  QAction* N1 = nullptr;
  QAction* DELETE1 = nullptr;           // follows actDelete
  QFileDialog* OpenPictureDialog1 = nullptr;
};

// The window's own controls; the NVRAM page holds its own.
struct TMainControls {
  QWidget* Panel1 = nullptr;
  QLabel* Label5 = nullptr;
  TPortComboBox* ComboPort = nullptr;
  QLabel* Label6 = nullptr;
  QComboBox* ComboBaud = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;     // "PARA"
  QWidget* TabSheet2 = nullptr;     // "UPDATE"
  TLogoPage* TabSheet3 = nullptr;   // "NVRAM"
  QLabel* Label3 = nullptr;
  QComboBox* ComboSetBaudRate = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* ComboCodePage = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* edString = nullptr;
  QPushButton* btSet = nullptr;
  QPushButton* btUpdate = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* StatusPanel0 = nullptr;  // progress and logo space
  QLabel* StatusPanel1 = nullptr;  // the worker's status text
  QFileDialog* OpenDialog1 = nullptr;
};

// Gives `window` its caption and creates its controls on it in layouts, the NVRAM page a
// TLogoPage on `configFolder`; the window takes the size its contents need in the
// desktop's font and cannot be resized. Focus starts in the PORT box. Never fails.
TMainControls LayOutWindow(QWidget& window, const std::string& configFolder);

// Creates the NVRAM page's controls and its layout on `page`. Never fails.
TLogoPageControls LayOutLogoPage(QWidget& page);

// Puts ADD, DELETE, the logo list and DOWNLOAD, in that order, right after `previous`
// in the focus chain. Never fails.
void ChainLogoPageFocus(const TLogoPageControls& controls, QWidget* previous);

}  // namespace printset
