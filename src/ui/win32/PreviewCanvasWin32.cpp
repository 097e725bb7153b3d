#include "ui/win32/PreviewCanvasWin32.h"

#include <cstring>

#include "ui/win32/DpiWin32.h"

namespace printset::win32 {

namespace {

constexpr const char* kCanvasClass = "printsetLogoPreview";
// White paper between the frame and the dots, at 96 DPI; the frame is one pixel.
constexpr int kMarginAt96 = 3;
// The text the scale's corner is made wide enough for.
constexpr const char* kScaleWidthText = "1:99";

// Registers the canvas's window class once per process; false when the system refuses.
bool RegisterCanvasClass(WNDPROC procedure) {
  static const bool registered = [procedure] {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kCanvasClass;
    return RegisterClassExA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

// A one-bit DIB's header with its two colours: 0 white paper, 1 a black dot.
struct TMonoBitmapInfo {
  BITMAPINFOHEADER Header;
  RGBQUAD Colours[2];
};

}  // namespace

TPreviewCanvasWin32::TPreviewCanvasWin32(HWND parent, int id) {
  if (!RegisterCanvasClass(&TPreviewCanvasWin32::WindowProc)) return;
  Window = CreateWindowExA(0, kCanvasClass, "", WS_CHILD, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
}

TPreviewCanvasWin32::~TPreviewCanvasWin32() {
  if (Window == nullptr || !IsWindow(Window)) return;
  static_cast<void>(SetWindowLongPtrA(Window, GWLP_USERDATA, 0));
  static_cast<void>(DestroyWindow(Window));
}

void TPreviewCanvasWin32::SetMetrics(HFONT font, UINT dpi) {
  Font = font;
  Dpi = dpi;
  Rescale();
}

void TPreviewCanvasWin32::ShowDots(const TDotBitmap& dots) {
  Dots = dots;
  Rescale();
}

void TPreviewCanvasWin32::Rescale() {
  if (Window == nullptr) return;
  RECT client{};
  static_cast<void>(GetClientRect(Window, &client));
  SIZE text{};
  if (HDC dc = GetDC(Window)) {
    const HGDIOBJ old = Font != nullptr ? SelectObject(dc, Font) : nullptr;
    static_cast<void>(
        GetTextExtentPoint32A(dc, kScaleWidthText, static_cast<int>(std::strlen(kScaleWidthText)), &text));
    if (old != nullptr) static_cast<void>(SelectObject(dc, old));
    static_cast<void>(ReleaseDC(Window, dc));
  }
  const int margin = ScaleForDpi(kMarginAt96, Dpi);
  Placement = PlacePreview(Dots.Width, Dots.Height, client.right, client.bottom, margin, text.cx, text.cy);

  const TDotBitmap shown = Placement.Scale.Shrink > 1 ? ShrinkDots(Dots, Placement.Scale.Shrink) : Dots;
  ShownWidth = Placement.Dots.Width > 0 ? shown.Width : 0;
  ShownHeight = Placement.Dots.Height > 0 ? shown.Height : 0;
  // A DIB's rows start on 4-byte boundaries.
  const size_t stride = (static_cast<size_t>(ShownWidth) + 31) / 32 * 4;
  const size_t rowBytes = static_cast<size_t>(shown.RowBytes());
  ShownRows.assign(stride * static_cast<size_t>(ShownHeight), 0);
  for (int y = 0; y < ShownHeight; ++y)
    std::memcpy(ShownRows.data() + static_cast<size_t>(y) * stride,
                shown.Bits.data() + static_cast<size_t>(y) * rowBytes, rowBytes);

  Scale = Placement.ScaleText.Width > 0 ? "1:" + std::to_string(Placement.Scale.Shrink) : std::string();
  static_cast<void>(SetWindowTextA(Window, Scale.c_str()));
  static_cast<void>(InvalidateRect(Window, nullptr, FALSE));
}

void TPreviewCanvasWin32::Paint(HDC dc) const {
  RECT client{};
  static_cast<void>(GetClientRect(Window, &client));
  static_cast<void>(FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
  static_cast<void>(FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW)));
  if (ShownWidth > 0 && ShownHeight > 0) {
    TMonoBitmapInfo info{};
    info.Header.biSize = sizeof(info.Header);
    info.Header.biWidth = ShownWidth;
    info.Header.biHeight = -ShownHeight;  // top-down, as the dots' rows are
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 1;
    info.Header.biCompression = BI_RGB;
    info.Header.biClrUsed = 2;
    info.Colours[0] = {255, 255, 255, 0};
    info.Colours[1] = {0, 0, 0, 0};
    // Whole factors only, so nearest-pixel stretching makes every dot the same square.
    static_cast<void>(SetStretchBltMode(dc, COLORONCOLOR));
    static_cast<void>(StretchDIBits(dc, Placement.Dots.Left, Placement.Dots.Top, Placement.Dots.Width,
                                    Placement.Dots.Height, 0, 0, ShownWidth, ShownHeight, ShownRows.data(),
                                    reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, SRCCOPY));
  }
  if (!Scale.empty()) {
    const HGDIOBJ old = Font != nullptr ? SelectObject(dc, Font) : nullptr;
    static_cast<void>(SetBkMode(dc, TRANSPARENT));
    static_cast<void>(SetTextColor(dc, RGB(0, 0, 0)));
    RECT corner{Placement.ScaleText.Left, Placement.ScaleText.Top, Placement.ScaleText.Left + Placement.ScaleText.Width,
                Placement.ScaleText.Top + Placement.ScaleText.Height};
    static_cast<void>(DrawTextA(dc, Scale.c_str(), static_cast<int>(Scale.size()), &corner,
                                DT_RIGHT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX));
    if (old != nullptr) static_cast<void>(SelectObject(dc, old));
  }
}

LRESULT CALLBACK TPreviewCanvasWin32::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    static_cast<void>(SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams)));
  }
  auto* canvas = reinterpret_cast<TPreviewCanvasWin32*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (canvas != nullptr) {
    switch (message) {
      case WM_SIZE:
        canvas->Rescale();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers every pixel
      case WM_PAINT: {
        PAINTSTRUCT paint{};
        if (HDC dc = BeginPaint(window, &paint)) {
          canvas->Paint(dc);
          static_cast<void>(EndPaint(window, &paint));
        }
        return 0;
      }
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace printset::win32
