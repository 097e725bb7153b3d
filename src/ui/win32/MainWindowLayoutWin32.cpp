// The window's controls: made in the focus order, placed for the message font at the
// window's DPI, and shown page by page.
#include "ui/win32/MainWindowWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

#include "logo/LogoSet.h"
#include "report/ProgressText.h"
#include "settings/BaudRates.h"
#include "ui/win32/ComboBoxWin32.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/DpiWin32.h"
#include "ui/win32/LogoPageWin32.h"
#include "ui/win32/StatusBarWin32.h"

namespace printset::win32 {

namespace {

// The longest texts each box is made wide enough for; longer ones are whole in the box's
// list.
constexpr const char* kPortWidthText = "COM256";
constexpr const char* kBaudWidthText = "115200";
constexpr const char* kCodePageWidthText = "PC863 (Canadian-French)";
constexpr const char* kStringWidthText = "000000";
// The STRING box takes six characters, each a digit or a blank.
constexpr int kStringLength = 6;
// The progress and space texts of status panel 0 at their longest: 16 MiB transferred,
// the printer's room for logos at 16 MiB.
constexpr int32_t kLongestTransfer = 16 * 1024 * 1024;
// Lines a combo box's list shows before it scrolls.
constexpr int kComboListLines = 16;
const char* const kPageCaptions[] = {"PARA", "UPDATE", "NVRAM"};
// The tab control's subclass id.
constexpr UINT_PTR kTabSubclass = 1;

HWND NewControl(HWND window, const char* className, const char* text, DWORD style, int id, DWORD exStyle = 0) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | style, 0, 0, 0, 0, window,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleA(nullptr), nullptr);
}

// A label: never a tab stop, and "&" in it is a character, not a mnemonic.
HWND NewLabel(HWND window, const char* text, int id) {
  return NewControl(window, "STATIC", text, SS_LEFT | SS_NOPREFIX, id);
}

// An editable box whose typed text is never added to its items.
HWND NewComboBox(HWND window, int id) {
  return NewControl(window, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, id,
                    WS_EX_CLIENTEDGE);
}

HWND NewButton(HWND window, const char* caption, int id) {
  return NewControl(window, "BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, id);
}

void Place(HWND control, int x, int y, int width, int height) {
  static_cast<void>(SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE));
}

int WindowHeight(HWND control) {
  RECT rect = {};
  return GetWindowRect(control, &rect) ? rect.bottom - rect.top : 0;
}

// The tab control is painted under the page's controls, which are its siblings: whatever
// of it is painted again, the controls standing on it are painted again after it.
LRESULT CALLBACK TabProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message != WM_PAINT) return DefSubclassProc(tab, message, wParam, lParam);
  RECT update = {};
  const bool hasUpdate = GetUpdateRect(tab, &update, FALSE) != 0;
  const LRESULT result = DefSubclassProc(tab, message, wParam, lParam);
  if (!hasUpdate) return result;
  static_cast<void>(MapWindowPoints(tab, nullptr, reinterpret_cast<POINT*>(&update), 2));
  for (HWND sibling = GetWindow(tab, GW_HWNDNEXT); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    RECT rect = {};
    RECT common = {};
    if (IsWindowVisible(sibling) && GetWindowRect(sibling, &rect) && IntersectRect(&common, &rect, &update))
      static_cast<void>(RedrawWindow(sibling, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN));
  }
  return result;
}

}  // namespace

// Created in focus order: the dialog navigation follows it. Each label just before its box.
void TMainWindowWin32::CreateControls() {
  const HWND window = Controls.Window;
  LabelPort = NewLabel(window, "PORT:", kIdLabelPort);
  Controls.ComboPort = NewComboBox(window, kIdComboPort);
  LabelBaud = NewLabel(window, "BAUD RATE:", kIdLabelBaud);
  Controls.ComboBaud = NewComboBox(window, kIdComboBaud);
  Controls.PageControl = NewControl(window, WC_TABCONTROLA, "", WS_TABSTOP | WS_VISIBLE, kIdPageControl);
  static_assert(std::size(kPageCaptions) == kPageCount);
  for (int page = 0; page < kPageCount; ++page) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPageCaptions[page]);
    static_cast<void>(SendMessageA(Controls.PageControl, TCM_INSERTITEMA, static_cast<WPARAM>(page),
                                   reinterpret_cast<LPARAM>(&item)));
  }
  static_cast<void>(SetWindowSubclass(Controls.PageControl, TabProc, kTabSubclass, 0));
  Controls.ButtonSet = NewButton(window, "SET", kIdButtonSet);
  LabelSetBaudRate = NewLabel(window, "BAUD RATE:", kIdLabelSetBaudRate);
  Controls.ComboSetBaudRate = NewComboBox(window, kIdComboSetBaudRate);
  LabelCodePage = NewLabel(window, "CODE PAGE", kIdLabelCodePage);
  Controls.ComboCodePage = NewComboBox(window, kIdComboCodePage);
  LabelString = NewLabel(window, "STRING", kIdLabelString);
  Controls.EditString = NewControl(window, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, kIdEditString, WS_EX_CLIENTEDGE);
  static_cast<void>(SendMessageA(Controls.EditString, EM_LIMITTEXT, kStringLength, 0));
  Controls.ButtonProgram = NewButton(window, "PROGRAM", kIdButtonProgram);
  LogoPage = std::make_unique<TLogoPageWin32>(window, Paths.ConfigFolder);
  Controls.LogoPage = LogoPage.get();
  Controls.StatusBar = CreateStatusBar(window, kIdStatusBar);
  AddPortToolTip();

  for (HWND control : {LabelPort, Controls.ComboPort, LabelBaud, Controls.ComboBaud})
    static_cast<void>(ShowWindow(control, SW_SHOW));
  RefreshPorts();
  static_cast<void>(SendMessageA(Controls.ComboPort, CB_SETCURSEL, 0, 0));
  for (HWND box : {Controls.ComboBaud, Controls.ComboSetBaudRate}) {
    SetComboItems(box, BaudRateItems());
    ShowComboText(box, BaudRateItem(kDefaultBaudRate));
  }
}


void TMainWindowWin32::AddPortToolTip() {
  PortToolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Controls.Window, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (!PortToolTip) return;
  // The box and the field inside it: the pointer rests on either.
  COMBOBOXINFO parts = {};
  parts.cbSize = sizeof(parts);
  const bool hasField = GetComboBoxInfo(Controls.ComboPort, &parts) != 0 && parts.hwndItem;
  for (HWND control : {Controls.ComboPort, hasField ? parts.hwndItem : nullptr}) {
    if (!control) continue;
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Controls.Window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    static_cast<void>(SendMessageA(PortToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
  }
}

void TMainWindowWin32::LayOut() {
  const HFONT oldFont = Font;
  Font = CreateMessageFont(Dpi);
  const HWND window = Controls.Window;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    static_cast<void>(SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE));
  if (oldFont) static_cast<void>(DeleteObject(oldFont));

  // Spacings in dialog units of the font: a quarter of an average character across, an
  // eighth of a line down.
  const SIZE units = FontUnits(Font);
  const int charWidth = static_cast<int>(units.cx);
  const int textHeight = static_cast<int>(units.cy);
  const auto across = [charWidth](int dialogUnits) { return MulDiv(dialogUnits, charWidth, 4); };
  const auto down = [textHeight](int dialogUnits) { return MulDiv(dialogUnits, textHeight, 8); };
  const auto textWidth = [this](const char* text) { return static_cast<int>(TextSize(Font, text).cx); };
  const int margin = across(7);
  const int gap = across(4);
  const int rowGap = down(4);
  const int edge = SystemMetricForDpi(SM_CXEDGE, Dpi);
  const int arrow = SystemMetricForDpi(SM_CXVSCROLL, Dpi);
  // A field keeps a few pixels either side of its text; an average character covers them.
  const auto fieldWidth = [&](const char* text) { return textWidth(text) + charWidth + 4 * edge; };
  const auto comboWidth = [&](const char* text) { return fieldWidth(text) + arrow; };
  const auto buttonWidth = [&](const char* text) { return std::max(across(50), textWidth(text) + 2 * charWidth); };
  const int buttonHeight = down(14);

  // The boxes' height follows their font; the list below takes some lines more.
  Place(Controls.ComboPort, 0, 0, comboWidth(kPortWidthText), 0);
  const int rowHeight = std::max(WindowHeight(Controls.ComboPort), textHeight + 4 * edge);
  const int listHeight = rowHeight + kComboListLines * textHeight;
  const int labelTop = (rowHeight - textHeight) / 2;

  // The strip: PORT: and its box, BAUD RATE: and its box.
  int x = margin;
  const int stripTop = margin;
  const int portLabelWidth = textWidth("PORT:");
  Place(LabelPort, x, stripTop + labelTop, portLabelWidth, textHeight);
  x += portLabelWidth + gap;
  Place(Controls.ComboPort, x, stripTop, comboWidth(kPortWidthText), listHeight);
  x += comboWidth(kPortWidthText) + 3 * gap;
  const int baudLabelWidth = textWidth("BAUD RATE:");
  Place(LabelBaud, x, stripTop + labelTop, baudLabelWidth, textHeight);
  x += baudLabelWidth + gap;
  Place(Controls.ComboBaud, x, stripTop, comboWidth(kBaudWidthText), listHeight);
  const int stripWidth = x + comboWidth(kBaudWidthText) + margin;

  // The pages' area inside the tab control, whatever its size.
  const int tabTop = stripTop + rowHeight + rowGap;
  constexpr int kProbe = 400;
  Place(Controls.PageControl, margin, tabTop, kProbe, kProbe);
  RECT display = {0, 0, kProbe, kProbe};
  static_cast<void>(SendMessageA(Controls.PageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display)));
  const int pageLeft = margin + display.left + margin;
  const int pageTop = tabTop + display.top + margin;

  // PARA: the labels right-aligned in a column, their boxes beside them, SET below.
  const char* const paraLabels[] = {"BAUD RATE:", "CODE PAGE", "STRING"};
  const HWND paraLabelControls[] = {LabelSetBaudRate, LabelCodePage, LabelString};
  int labelColumn = 0;
  for (const char* label : paraLabels) labelColumn = std::max(labelColumn, textWidth(label));
  const int boxLeft = pageLeft + labelColumn + gap;
  const int boxWidths[] = {comboWidth(kBaudWidthText), comboWidth(kCodePageWidthText), fieldWidth(kStringWidthText)};
  const HWND boxes[] = {Controls.ComboSetBaudRate, Controls.ComboCodePage, Controls.EditString};
  int y = pageTop;
  int paraWidth = 0;
  for (size_t row = 0; row < 3; ++row) {
    const int labelWidth = textWidth(paraLabels[row]);
    Place(paraLabelControls[row], pageLeft + labelColumn - labelWidth, y + labelTop, labelWidth, textHeight);
    const bool isCombo = boxes[row] != Controls.EditString;
    Place(boxes[row], boxLeft, y, boxWidths[row], isCombo ? listHeight : rowHeight);
    paraWidth = std::max(paraWidth, labelColumn + gap + boxWidths[row]);
    y += rowHeight + rowGap;
  }
  Place(Controls.ButtonSet, pageLeft, y, buttonWidth("SET"), buttonHeight);
  const SIZE para = {paraWidth, y + buttonHeight - pageTop};

  // UPDATE: PROGRAM alone.
  const SIZE update = {buttonWidth("PROGRAM"), buttonHeight};
  Place(Controls.ButtonProgram, pageLeft, pageTop, update.cx, update.cy);

  // NVRAM: the page's own layout.
  const SIZE nvram = LogoPage->Layout(POINT{pageLeft, pageTop}, Font, Dpi);

  // The status bar: panel 0 as wide as its longest text.
  const std::string panel0Texts[] = {FormatProgress(kLongestTransfer, kLongestTransfer).value_or(""),
                                     FormatLogoSpace(kLongestTransfer, 2 * int64_t{kLongestTransfer})};
  int panel0Width = 0;
  for (const std::string& text : panel0Texts)
    panel0Width = std::max(panel0Width, textWidth(text.c_str()));
  panel0Width += 2 * charWidth;
  const int statusHeight = LayOutStatusBar(Controls.StatusBar, panel0Width);

  const int contentWidth = std::max({para.cx, update.cx, nvram.cx});
  const int contentHeight = std::max({para.cy, update.cy, nvram.cy});
  const int tabFrameWidth = kProbe - (display.right - display.left);
  const int tabFrameHeight = kProbe - (display.bottom - display.top);
  int tabWidth = contentWidth + 2 * margin + tabFrameWidth;
  const int tabHeight = contentHeight + 2 * margin + tabFrameHeight;
  int clientWidth = std::max({stripWidth, tabWidth + 2 * margin, panel0Width + across(100)});
  // The window widens, if it must, so that the whole hint shows.
  if (!Hint.empty()) clientWidth = std::max(clientWidth, textWidth(Hint.c_str()) + 4 * charWidth);
  tabWidth = clientWidth - 2 * margin;
  Place(Controls.PageControl, margin, tabTop, tabWidth, tabHeight);
  const int clientHeight = tabTop + tabHeight + margin + statusHeight;

  const SIZE outer = WindowSizeForClient(clientWidth, clientHeight, kWindowStyle, kWindowExStyle, Dpi);
  static_cast<void>(SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
  static_cast<void>(LayOutStatusBar(Controls.StatusBar, panel0Width));
  static_cast<void>(InvalidateRect(window, nullptr, TRUE));
}

void TMainWindowWin32::ShowPage(int page) {
  static_cast<void>(SendMessageA(Controls.PageControl, TCM_SETCURSEL, static_cast<WPARAM>(page), 0));
  const int para = page == kParaPage ? SW_SHOW : SW_HIDE;
  for (HWND control : {LabelSetBaudRate, Controls.ComboSetBaudRate, LabelCodePage, Controls.ComboCodePage, LabelString,
                       Controls.EditString, Controls.ButtonSet})
    static_cast<void>(ShowWindow(control, para));
  static_cast<void>(ShowWindow(Controls.ButtonProgram, page == kUpdatePage ? SW_SHOW : SW_HIDE));
  LogoPage->Show(page == kNvramPage);
}


}  // namespace printset::win32
