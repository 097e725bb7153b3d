#include "ui/win32/LogoPageWin32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

#include "logo/PictureLoader.h"
#include "ui/win32/BoxesWin32.h"
#include "ui/win32/ControlIds.h"
#include "ui/win32/DotRuleThresholdWin32.h"
#include "ui/win32/LogoPageLayoutWin32.h"
#include "ui/win32/PreviewCanvasWin32.h"

namespace printset::win32 {

namespace {

// The ADD dialog's filters: every picture the system's decoder reads, bitmaps, anything.
constexpr char kPictureFilters[] =
    "All pictures\0*.bmp;*.png;*.jpg;*.jpeg;*.gif;*.tif;*.tiff\0"
    "Bitmaps (*.bmp)\0*.bmp\0"
    "All files (*.*)\0*.*\0";
// Room for the chosen file's full name, in bytes of the process's code page.
constexpr size_t kChosenPathRoom = 32768;
// Rule or threshold changes that arrive while the boxes of one are open are caught up
// with at most this many times over, so that a failing picture cannot keep boxes coming.
constexpr int kMaxRuleCatchUps = 3;
// The THRESHOLD box takes at most this many digits ("255").
constexpr int kThresholdDigits = 3;

HWND NewControl(HWND parent, DWORD exStyle, const char* windowClass, const char* text, DWORD style, int id) {
  return CreateWindowExA(exStyle, windowClass, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

std::string WindowText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(copied, 0)));
  return text;
}

std::string ListItemText(HWND list, int index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

// The core's paths use '/' throughout; the system's dialogs show '\'.
std::string WithSeparator(std::string path, char from, char to) {
  std::replace(path.begin(), path.end(), from, to);
  return path;
}

}  // namespace

class TLogoPageWin32::TImpl {
 public:
  TImpl(HWND window, std::string configFolder)
      : Window(window), Model(std::move(configFolder), PictureLoaderOn(SystemPictureDecoder())) {
    // Creation order is focus order: labels just before their boxes.
    LabelLogo = NewControl(window, 0, "STATIC", "LOGO:", SS_LEFT | SS_NOPREFIX, kIdLabelLogo);
    ButtonAdd = NewControl(window, 0, "BUTTON", "ADD", WS_TABSTOP | BS_PUSHBUTTON, kIdButtonAddLogo);
    ButtonDelete = NewControl(window, 0, "BUTTON", "DELETE", WS_TABSTOP | BS_PUSHBUTTON, kIdButtonDeleteLogo);
    List = NewControl(window, WS_EX_CLIENTEDGE, "LISTBOX", "",
                      WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kIdListLogo);
    ButtonDownload = NewControl(window, 0, "BUTTON", "DOWNLOAD", WS_TABSTOP | BS_PUSHBUTTON, kIdButtonDownload);
    LabelDots = NewControl(window, 0, "STATIC", "DOTS:", SS_LEFT | SS_NOPREFIX, kIdLabelDots);
    ComboDots = NewControl(window, 0, "COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kIdComboDots);
    for (const TDotRule rule : kDotRules)
      static_cast<void>(SendMessageA(ComboDots, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DotRuleName(rule))));
    LabelThreshold = NewControl(window, 0, "STATIC", "THRESHOLD:", SS_LEFT | SS_NOPREFIX, kIdLabelThreshold);
    EditThreshold =
        NewControl(window, WS_EX_CLIENTEDGE, "EDIT", "", WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, kIdEditThreshold);
    static_cast<void>(SendMessageA(EditThreshold, EM_SETLIMITTEXT, kThresholdDigits, 0));
    SpinThreshold = NewControl(window, 0, UPDOWN_CLASSA, "",
                               UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, kIdSpinThreshold);
    static_cast<void>(SendMessageA(SpinThreshold, UDM_SETBUDDY, reinterpret_cast<WPARAM>(EditThreshold), 0));
    static_cast<void>(SendMessageA(SpinThreshold, UDM_SETRANGE32, kMinDotThreshold, kMaxDotThreshold));
    Canvas = std::make_unique<TPreviewCanvasWin32>(window, kIdPreview);
    Caption = NewControl(window, 0, "STATIC", "", SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, kIdPreviewCaption);
    ShowRule(Model.Settings().Dots, Model.Settings().Threshold);
    ShowPreview();
    UpdateButtons();
  }

  std::array<HWND, 12> Controls() const {
    return {LabelLogo, ButtonAdd,      ButtonDelete,  List,          ButtonDownload,   LabelDots,
            ComboDots, LabelThreshold, EditThreshold, SpinThreshold, Canvas->Handle(), Caption};
  }

  SIZE Layout(POINT origin, HFONT font, UINT dpi) {
    Font = font;
    for (HWND control : Controls())
      static_cast<void>(SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE));
    Canvas->SetMetrics(font, dpi);
    const TLogoPageMetrics m = MeasureLogoPage(Window, font, dpi, List, ComboDots);
    const TLogoPageRects r = PlaceLogoPage(m);
    const auto place = [origin](HWND control, const RECT& rect) {
      static_cast<void>(MoveWindow(control, origin.x + rect.left, origin.y + rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, TRUE));
    };
    place(LabelLogo, r.LabelLogo);
    place(ButtonAdd, r.ButtonAdd);
    place(ButtonDelete, r.ButtonDelete);
    place(List, r.List);
    place(ButtonDownload, r.ButtonDownload);
    place(LabelDots, r.LabelDots);
    // A drop-down list's height is that of its list when it is open.
    RECT dropped = r.ComboDots;
    dropped.bottom += m.ComboListHeight;
    place(ComboDots, dropped);
    place(LabelThreshold, r.LabelThreshold);
    // The up-down takes the box's right end, a scroll bar wide at this DPI (the width it
    // would give itself does not follow the DPI).
    RECT edit = r.EditThreshold;
    edit.right -= m.ScrollWidth;
    place(EditThreshold, edit);
    place(SpinThreshold, {edit.right, edit.top, r.EditThreshold.right, edit.bottom});
    place(Canvas->Handle(), r.Preview);
    place(Caption, r.Caption);
    UpdateListExtent();
    return r.Size;
  }

  void Show(bool shown) {
    for (HWND control : Controls()) static_cast<void>(ShowWindow(control, shown ? SW_SHOWNA : SW_HIDE));
  }

  bool OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    switch (id) {
      case kIdButtonAddLogo:
      case kIdMenuAdd:
        if (code == BN_CLICKED) AddPicture();
        return true;
      case kIdButtonDeleteLogo:
      case kIdMenuDelete:
        if (code == BN_CLICKED) DeleteEntry();
        return true;
      case kIdButtonDownload:
        if (code == BN_CLICKED && DownloadHandler) DownloadHandler();
        return true;
      case kIdListLogo:
        if (code == LBN_SELCHANGE) ShowPreview();
        return true;
      case kIdComboDots:
        if (code == CBN_SELCHANGE) ApplyRule();
        return true;
      case kIdEditThreshold:
        if (code == EN_KILLFOCUS) ApplyRule();
        return true;
      case kIdSpinThreshold:
        ApplyRule();  // posted by OnNotify once the up-down has set its number
        return true;
      default:
        return false;
    }
  }

  bool OnContextMenu(HWND control, POINT screenPoint) {
    if (control != List) return false;
    POINT at = screenPoint;
    if (at.x == -1 && at.y == -1) {
      // From the keyboard: at the selected item, else at the list's top left corner.
      RECT item{};
      const LRESULT selected = SendMessageA(List, LB_GETCURSEL, 0, 0);
      if (selected == LB_ERR ||
          SendMessageA(List, LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        item = {};
      at = {item.left, item.bottom};
      static_cast<void>(ClientToScreen(List, &at));
    } else {
      // A right click selects the entry under it, as DELETE takes the selected entry.
      POINT inList = at;
      static_cast<void>(ScreenToClient(List, &inList));
      const LRESULT hit = SendMessageA(List, LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y));
      if (HIWORD(hit) == 0 && static_cast<int>(LOWORD(hit)) != CurrentIndex()) {
        static_cast<void>(SendMessageA(List, LB_SETCURSEL, LOWORD(hit), 0));
        ShowPreview();
      }
    }
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return true;
    static_cast<void>(AppendMenuA(menu, MF_STRING | (Model.CanAdd() ? MF_ENABLED : MF_GRAYED), kIdMenuAdd, "ADD"));
    static_cast<void>(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    static_cast<void>(
        AppendMenuA(menu, MF_STRING | (Model.CanRemove() ? MF_ENABLED : MF_GRAYED), kIdMenuDelete, "DELETE"));
    // The chosen item comes back to the window as WM_COMMAND, and so to OnCommand.
    static_cast<void>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Window, nullptr));
    static_cast<void>(DestroyMenu(menu));
    return true;
  }

  bool OnNotify(const NMHDR& header) {
    if (header.hwndFrom != SpinThreshold) return false;
    // The up-down sets its buddy's number only after this notification: the change is
    // taken from the box once the posted command comes back.
    if (header.code == static_cast<UINT>(UDN_DELTAPOS))
      static_cast<void>(
          PostMessageA(Window, WM_COMMAND, MAKEWPARAM(kIdSpinThreshold, 0), reinterpret_cast<LPARAM>(SpinThreshold)));
    return true;
  }

  void SetSettings(const TLogoSettings& settings) {
    Model.SetSettings(settings);
    ShowRule(settings.Dots, settings.Threshold);
  }

  void RestoreList(const std::vector<std::string>& entries) {
    std::vector<std::string> vanished;
    const std::vector<TLogoListMessage> messages = Model.Restore(entries, vanished);
    std::vector<TLogoListMessage> shown = messages;
    if (!vanished.empty()) shown.push_back(VanishedMessage(vanished));
    ShowChange(shown);
  }

  HWND Window;
  TLogoList Model;
  std::function<void(const std::string&)> SpaceTextHandler;
  std::function<void()> DownloadHandler;
  HWND ButtonDownload = nullptr;

 private:
  int CurrentIndex() const {
    const LRESULT selected = SendMessageA(List, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
  }

  void ShowRule(TDotRule rule, int32_t threshold) {
    int index = 0;
    for (size_t i = 0; i < std::size(kDotRules); ++i)
      if (kDotRules[i] == rule) index = static_cast<int>(i);
    static_cast<void>(SendMessageA(ComboDots, CB_SETCURSEL, static_cast<WPARAM>(index), 0));
    ShowThreshold(std::clamp(threshold, kMinDotThreshold, kMaxDotThreshold));
  }

  void ShowThreshold(int32_t threshold) {
    const std::string text = std::to_string(threshold);
    if (WindowText(EditThreshold) != text) static_cast<void>(SetWindowTextA(EditThreshold, text.c_str()));
    static_cast<void>(SendMessageA(SpinThreshold, UDM_SETPOS32, 0, threshold));
  }

  // The rule and threshold as the boxes show them, into the model when they differ.
  void ApplyRule() {
    if (InChange) {
      RulePending = true;
      return;
    }
    for (int pass = 0; pass <= kMaxRuleCatchUps; ++pass) {
      RulePending = false;
      const LRESULT index = SendMessageA(ComboDots, CB_GETCURSEL, 0, 0);
      const TDotRule rule = index >= 0 && static_cast<size_t>(index) < std::size(kDotRules)
                                ? kDotRules[static_cast<size_t>(index)]
                                : Model.Settings().Dots;
      const int32_t threshold = ThresholdFromText(WindowText(EditThreshold), Model.Settings().Threshold);
      ShowThreshold(threshold);
      if (rule == Model.Settings().Dots && threshold == Model.Settings().Threshold) return;
      ShowChange(Model.SetDotRule(rule, threshold));
      if (!RulePending) return;
    }
  }

  void AddPicture() {
    if (InChange || !Model.CanAdd()) return;
    std::string chosen(kChosenPathRoom, '\0');
    const std::string initialFolder = WithSeparator(Model.DialogFolder(), '/', '\\');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Window;
    dialog.lpstrFilter = kPictureFilters;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = initialFolder.c_str();
    // A typed name need not exist: the logo list reports a missing file itself.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const bool accepted = GetOpenFileNameA(&dialog) != 0;
    chosen.resize(std::strlen(chosen.c_str()));
    if (!accepted || chosen.empty()) {
      // The dialog does not tell where it was left when cancelled: where it opened.
      Model.PictureFolderLeft(Model.DialogFolder());
      return;
    }
    std::string full(kChosenPathRoom, '\0');
    const DWORD length = GetFullPathNameA(chosen.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    full.resize(length > 0 && length < full.size() ? length : 0);
    if (full.empty()) full = chosen;
    full = WithSeparator(full, '\\', '/');
    const size_t slash = full.rfind('/');
    Model.PictureFolderLeft(slash == std::string::npos ? Model.DialogFolder() : full.substr(0, slash + 1));
    // The new entry is the one shown: the last, with nothing selected.
    static_cast<void>(SendMessageA(List, LB_SETCURSEL, static_cast<WPARAM>(-1), 0));
    ShowChange(Model.Add(full));
  }

  void DeleteEntry() {
    if (InChange || !Model.CanRemove()) return;
    ShowChange(Model.Remove(CurrentIndex()));
  }

  // Shows what the model says after a change: the list's entries, the space, the preview,
  // the buttons, then the model's messages, one box each.
  void ShowChange(const std::vector<TLogoListMessage>& messages) {
    SyncItems();
    if (SpaceTextHandler) SpaceTextHandler(Model.SpaceText());
    ShowPreview();
    UpdateButtons();
    InChange = true;
    for (const TLogoListMessage& message : messages) ShowMessageBox(Window, message.Caption, message.Text);
    InChange = false;
  }

  // Makes the list's items the model's names: the model only appends and takes out, so
  // items that no longer match go, in order, and the names still missing are added at
  // the end (the selection stays on an entry that stays).
  void SyncItems() {
    const std::vector<std::string>& names = Model.Names();
    size_t kept = 0;
    for (int row = 0; row < static_cast<int>(SendMessageA(List, LB_GETCOUNT, 0, 0));) {
      if (kept < names.size() && ListItemText(List, row) == names[kept]) {
        ++kept;
        ++row;
      } else {
        static_cast<void>(SendMessageA(List, LB_DELETESTRING, static_cast<WPARAM>(row), 0));
      }
    }
    for (; kept < names.size(); ++kept)
      static_cast<void>(SendMessageA(List, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[kept].c_str())));
    UpdateListExtent();
  }

  // The list scrolls sideways as far as its widest entry reaches.
  void UpdateListExtent() {
    HDC dc = GetDC(List);
    if (dc == nullptr) return;
    const HGDIOBJ old = Font != nullptr ? SelectObject(dc, Font) : nullptr;
    int widest = 0;
    for (const std::string& name : Model.Names()) {
      SIZE size{};
      if (GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &size))
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    TEXTMETRICA metrics{};
    if (GetTextMetricsA(dc, &metrics)) widest += metrics.tmAveCharWidth;
    if (old != nullptr) static_cast<void>(SelectObject(dc, old));
    static_cast<void>(ReleaseDC(List, dc));
    static_cast<void>(SendMessageA(List, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest), 0));
  }

  // Shows the selected logo, or the last when none is selected.
  void ShowPreview() {
    const TLogoPreviewImage image = Model.Preview(CurrentIndex());
    Canvas->ShowDots(image.Dots);
    static_cast<void>(SetWindowTextA(Caption, image.Caption.c_str()));
  }

  void UpdateButtons() {
    const HWND focus = GetFocus();
    static_cast<void>(EnableWindow(ButtonAdd, Model.CanAdd()));
    static_cast<void>(EnableWindow(ButtonDelete, Model.CanRemove()));
    // A greyed button cannot keep the focus: it goes on to the list.
    if ((focus == ButtonAdd || focus == ButtonDelete) && !IsWindowEnabled(focus) && IsWindowVisible(List))
      static_cast<void>(SendMessageA(Window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List), TRUE));
  }

  HFONT Font = nullptr;
  HWND LabelLogo = nullptr;
  HWND ButtonAdd = nullptr;
  HWND ButtonDelete = nullptr;
  HWND List = nullptr;
  HWND LabelDots = nullptr;
  HWND ComboDots = nullptr;
  HWND LabelThreshold = nullptr;
  HWND EditThreshold = nullptr;
  HWND SpinThreshold = nullptr;
  std::unique_ptr<TPreviewCanvasWin32> Canvas;
  HWND Caption = nullptr;
  // While a change's boxes are open: further rule changes wait for them.
  bool InChange = false;
  bool RulePending = false;
};

TLogoPageWin32::TLogoPageWin32(HWND window, std::string configFolder)
    : Impl(std::make_unique<TImpl>(window, std::move(configFolder))) {}

TLogoPageWin32::~TLogoPageWin32() = default;

SIZE TLogoPageWin32::Layout(POINT origin, HFONT font, UINT dpi) { return Impl->Layout(origin, font, dpi); }

void TLogoPageWin32::Show(bool shown) { Impl->Show(shown); }

bool TLogoPageWin32::OnCommand(WPARAM wParam, LPARAM lParam) { return Impl->OnCommand(wParam, lParam); }

bool TLogoPageWin32::OnContextMenu(HWND control, POINT screenPoint) {
  return Impl->OnContextMenu(control, screenPoint);
}

bool TLogoPageWin32::OnNotify(const NMHDR& header) { return Impl->OnNotify(header); }

void TLogoPageWin32::SetSpaceTextHandler(std::function<void(const std::string&)> handler) {
  Impl->SpaceTextHandler = std::move(handler);
}

void TLogoPageWin32::SetDownloadHandler(std::function<void()> handler) { Impl->DownloadHandler = std::move(handler); }

void TLogoPageWin32::SetSettings(const TLogoSettings& settings) { Impl->SetSettings(settings); }

void TLogoPageWin32::RestoreList(const std::vector<std::string>& entries) { Impl->RestoreList(entries); }

std::vector<std::string> TLogoPageWin32::ListEntries() const { return Impl->Model.Names(); }

void TLogoPageWin32::SetPictureFolder(const std::string& folder) { Impl->Model.SetPictureFolder(folder); }

const std::string& TLogoPageWin32::PictureFolder() const { return Impl->Model.PictureFolder(); }

const TLogoSettings& TLogoPageWin32::Settings() const { return Impl->Model.Settings(); }

const std::vector<uint8_t>& TLogoPageWin32::LogoSet() const { return Impl->Model.Set(); }

bool TLogoPageWin32::IsLogoSetComplete() const { return Impl->Model.IsComplete(); }

const TLogoList& TLogoPageWin32::List() const { return Impl->Model; }

void TLogoPageWin32::SetDownloadEnabled(bool enabled) {
  static_cast<void>(EnableWindow(Impl->ButtonDownload, enabled ? TRUE : FALSE));
}

HWND TLogoPageWin32::DownloadButton() const { return Impl->ButtonDownload; }

}  // namespace printset::win32
