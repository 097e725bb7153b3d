// Where the window's controls go and what they are called: every position, size,
// caption, object name and the order of the focus chain. Buttons and menu items are
// linked to their actions here; what the controls do is connected by TfrmMain and
// TLogoPage.
#pragma once

#include <string>

class QAction;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QObject;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QWidget;

namespace printset {

class TLogoPage;
class TPortComboBox;

// The controls of the NVRAM page; all are children of the page.
struct TLogoPageControls {
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

// Gives `window` its caption, font and fixed size and creates its controls on it, the
// NVRAM page a TLogoPage on `configFolder`; focus starts in the PORT box. Never fails.
TMainControls LayOutWindow(QWidget& window, const std::string& configFolder);

// Creates the NVRAM page's controls on `page`. Never fails.
TLogoPageControls LayOutLogoPage(QWidget& page);

// Puts ADD, DELETE, the logo list and DOWNLOAD, in that order, right after `previous`
// in the focus chain. Never fails.
void ChainLogoPageFocus(const TLogoPageControls& controls, QWidget* previous);

}  // namespace printset
