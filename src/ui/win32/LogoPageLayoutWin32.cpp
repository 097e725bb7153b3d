#include "ui/win32/LogoPageLayoutWin32.h"

#include <algorithm>
#include <cstring>

#include "settings/LogoSettings.h"
#include "ui/win32/DpiWin32.h"

namespace printset::win32 {

namespace {

// The list shows this many entries, each this many average characters wide, before it
// scrolls.
constexpr int kListLines = 5;
constexpr int kListCharacters = 36;
// The preview's canvas is this many lines of text high.
constexpr int kPreviewLines = 6;
// The widest number the THRESHOLD box is made for.
constexpr const char* kThresholdWidthText = "000";
// The letters whose mean width is a dialog's horizontal base unit.
constexpr const char* kBaseUnitLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Sizes in dialog units (4 a base unit across, 8 down), as dialogs are laid out.
constexpr int kButtonWidthDlu = 50;
constexpr int kButtonHeightDlu = 14;
constexpr int kButtonPaddingDlu = 6;  // beside a button's caption, either side
constexpr int kSpacingDlu = 4;        // between related controls
constexpr int kLabelGapDlu = 3;       // between a label and its box
constexpr int kSectionGapDlu = 7;     // between DOWNLOAD and the rule box beneath
constexpr int kCaptionGapDlu = 2;     // between the preview and its caption
constexpr int kBoxPaddingDlu = 2;     // inside an edit box or a drop-down, either side of the text

int TextWidth(HDC dc, const char* text) {
  SIZE size{};
  return GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size) ? size.cx : 0;
}

int Dlu(int units, int baseUnit, int perBase) { return MulDiv(units, baseUnit, perBase); }

RECT At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

}  // namespace

TLogoPageMetrics MeasureLogoPage(HWND window, HFONT font, UINT dpi, HWND list, HWND ruleBox) {
  TLogoPageMetrics m;
  m.Edge = SystemMetricForDpi(SM_CXEDGE, dpi);
  m.ScrollWidth = SystemMetricForDpi(SM_CXVSCROLL, dpi);
  if (HDC dc = GetDC(window)) {
    const HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA text{};
    static_cast<void>(GetTextMetricsA(dc, &text));
    m.LineHeight = text.tmHeight;
    m.AverageChar = text.tmAveCharWidth;
    m.UnitY = text.tmHeight;
    const int letters = static_cast<int>(std::strlen(kBaseUnitLetters));
    m.UnitX = (TextWidth(dc, kBaseUnitLetters) / (letters / 2) + 1) / 2;
    m.LabelLogo = TextWidth(dc, "LOGO:");
    m.LabelDots = TextWidth(dc, "DOTS:");
    m.LabelThreshold = TextWidth(dc, "THRESHOLD:");
    m.Add = TextWidth(dc, "ADD");
    m.Delete = TextWidth(dc, "DELETE");
    m.Download = TextWidth(dc, "DOWNLOAD");
    for (const TDotRule rule : kDotRules) m.WidestRule = std::max(m.WidestRule, TextWidth(dc, DotRuleName(rule)));
    // An edit box keeps margins of its own either side of the text, from its font, and
    // room for the caret: an average character more in all.
    m.ThresholdDigits = TextWidth(dc, kThresholdWidthText) + m.AverageChar;
    if (old != nullptr) static_cast<void>(SelectObject(dc, old));
    static_cast<void>(ReleaseDC(window, dc));
  }
  m.UnitX = std::max(m.UnitX, 1);
  m.UnitY = std::max(m.UnitY, 1);
  const LRESULT itemHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  m.ListItemHeight = itemHeight > 0 && itemHeight != LB_ERR ? static_cast<int>(itemHeight) : m.LineHeight;
  // A drop-down list sets its own closed height from its font; what it is told is the
  // height it has when open.
  const LRESULT fieldHeight = SendMessageA(ruleBox, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  const LRESULT ruleItemHeight = SendMessageA(ruleBox, CB_GETITEMHEIGHT, 0, 0);
  const int field = fieldHeight > 0 && fieldHeight != CB_ERR ? static_cast<int>(fieldHeight) : m.LineHeight;
  m.ComboHeight = field + 2 * m.Edge + 2 * SystemMetricForDpi(SM_CYBORDER, dpi);
  const int ruleLine = ruleItemHeight > 0 && ruleItemHeight != CB_ERR ? static_cast<int>(ruleItemHeight) : m.LineHeight;
  m.ComboListHeight = static_cast<int>(std::size(kDotRules)) * ruleLine + 2 * m.Edge;
  return m;
}

TLogoPageRects PlaceLogoPage(const TLogoPageMetrics& m) {
  TLogoPageRects r;
  const auto dluX = [&m](int units) { return Dlu(units, m.UnitX, 4); };
  const auto dluY = [&m](int units) { return Dlu(units, m.UnitY, 8); };
  const auto buttonWidth = [&](int text) {
    return std::max(dluX(kButtonWidthDlu), text + 2 * dluX(kButtonPaddingDlu));
  };
  const int spacingX = dluX(kSpacingDlu);
  const int spacingY = dluY(kSpacingDlu);
  const int buttonHeight = dluY(kButtonHeightDlu);
  // A label sits level with the middle of the control beside it.
  const auto labelTop = [&m](int controlTop, int controlHeight) {
    return controlTop + (controlHeight - m.LineHeight) / 2;
  };

  const int addWidth = buttonWidth(m.Add);
  const int deleteWidth = buttonWidth(m.Delete);
  const int listWidth =
      std::max(kListCharacters * m.AverageChar + 2 * m.Edge, m.LabelLogo + 2 * spacingX + addWidth + deleteWidth);
  r.LabelLogo = At(0, labelTop(0, buttonHeight), m.LabelLogo, m.LineHeight);
  r.ButtonDelete = At(listWidth - deleteWidth, 0, deleteWidth, buttonHeight);
  r.ButtonAdd = At(r.ButtonDelete.left - spacingX - addWidth, 0, addWidth, buttonHeight);

  const int listTop = buttonHeight + spacingY;
  r.List = At(0, listTop, listWidth, kListLines * m.ListItemHeight + 2 * m.Edge);
  r.ButtonDownload = At(0, r.List.bottom + spacingY, buttonWidth(m.Download), buttonHeight);

  const int boxLeft = std::max(m.LabelDots, m.LabelThreshold) + dluX(kLabelGapDlu);
  const int boxPadding = 2 * dluX(kBoxPaddingDlu) + 2 * m.Edge;
  const int rulesTop = r.ButtonDownload.bottom + dluY(kSectionGapDlu);
  r.ComboDots = At(boxLeft, rulesTop, m.WidestRule + m.ScrollWidth + boxPadding, m.ComboHeight);
  r.LabelDots = At(0, labelTop(rulesTop, m.ComboHeight), m.LabelDots, m.LineHeight);
  const int thresholdTop = r.ComboDots.bottom + spacingY;
  r.EditThreshold = At(boxLeft, thresholdTop, m.ThresholdDigits + m.ScrollWidth + boxPadding, m.ComboHeight);
  r.LabelThreshold = At(0, labelTop(thresholdTop, m.ComboHeight), m.LabelThreshold, m.LineHeight);

  r.Preview = At(0, r.EditThreshold.bottom + spacingY, listWidth, kPreviewLines * m.LineHeight);
  r.Caption = At(0, r.Preview.bottom + dluY(kCaptionGapDlu), listWidth, m.LineHeight);
  const LONG width = std::max<LONG>({listWidth, r.ComboDots.right, r.EditThreshold.right});
  r.Size = {width, r.Caption.bottom};
  return r;
}

}  // namespace printset::win32
