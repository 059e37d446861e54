#include "window-look/chrome_win.h"

#include <algorithm>
#include <vector>

#include "common/window_win.h"

namespace look {
namespace {

constexpr int kPictureId = 1000;
constexpr int kCloseId = 1001;
constexpr int kMinimiseId = 1002;

HWND MakeImage(HWND parent,
               int id,
               const wchar_t* name,
               int x,
               int y,
               int w,
               int h,
               HBITMAP bitmap,
               bool visible) {
  HWND image = ::CreateWindowExW(0, L"Static", name,
                                 WS_CHILD | SS_BITMAP | SS_NOTIFY | (visible ? WS_VISIBLE : 0), x,
                                 y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return image;
}

}  // namespace

HBITMAP MakeBitmap(const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0)
    return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> bgra(picture.pixels.size());
  for (size_t i = 0; i < bgra.size(); ++i)
    bgra[i] = picture.pixels[i] & 0xFFFFFF;
  const common::WindowDc screen(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get(), picture.width, picture.height);
  ::SetDIBits(screen.get(), bitmap, 0, picture.height, bgra.data(), &info, DIB_RGB_COLORS);
  return bitmap;
}

void DragWindow(HWND window) {
  ::ReleaseCapture();
  ::SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

int ButtonsOf(WPARAM keys) {
  int buttons = 0;
  if (keys & MK_LBUTTON)
    buttons |= kLeftButton;
  if (keys & MK_RBUTTON)
    buttons |= kRightButton;
  if (keys & MK_MBUTTON)
    buttons |= kMiddleButton;
  return buttons;
}

// The controls go with the window; the drawing objects are the members'.
WindowChrome::~WindowChrome() = default;

void WindowChrome::Create(HWND form, const Layout& layout) {
  form_ = form;
  dpi_ = layout.dpi;
  const Picture background =
      DrawBackground(layout.width, layout.height, layout.style, layout.title_height);
  // Inside its one-pixel border the background changes from row to row
  // only, so one column of it, repeated across, is the whole of it: the
  // brush holds that column (a few kilobytes instead of a copy of the
  // window), and Picture1 draws the left and right border over it.
  Picture column;
  column.width = background.width > 0 ? 1 : 0;
  column.height = background.height;
  for (int y = 0; y < background.height; ++y)
    column.pixels.push_back(background.At(background.width / 2, y));
  row_colours_ = column.pixels;
  if (const common::OwnedBitmap bitmap(MakeBitmap(column)); bitmap)
    background_brush_.reset(::CreatePatternBrush(bitmap.get()));  // a copy of its own

  picture_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, L"Static", L"Picture1",
                               WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, layout.width,
                               layout.height, form,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPictureId)),
                               ::GetModuleHandleW(nullptr), nullptr);
  // Picture1 holds the other controls, as a container: what they tell their
  // parent goes on to the form. It does not clip its children: group boxes
  // leave their inside to the background. So whoever invalidates Picture1
  // invalidates its children with it (RDW_ALLCHILDREN).
  HWND owner = form;
  common::SubclassControl(
      picture_, [owner, this](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                              LRESULT* result) {
        switch (message) {
          // Its own paint, and the background that themed controls ask
          // their parent for (DrawThemeParentBackground sends these two
          // with the control's DC, its viewport moved to the parent's
          // origin).
          case WM_ERASEBKGND:
          case WM_PRINTCLIENT:
            PaintBackground(hwnd, reinterpret_cast<HDC>(wparam));
            *result = 1;
            return true;
          case WM_PAINT: {
            PAINTSTRUCT ps;
            PaintBackground(hwnd, ::BeginPaint(hwnd, &ps));
            ::EndPaint(hwnd, &ps);
            *result = 0;
            return true;
          }
          case WM_COMMAND:
          case WM_NOTIFY:
          case WM_DRAWITEM:
          case WM_CTLCOLORSTATIC:
          case WM_CTLCOLORBTN:
          case WM_CTLCOLOREDIT:
          case WM_CTLCOLORLISTBOX:
          case WM_HSCROLL:
          case WM_VSCROLL:
            *result = ::SendMessageW(owner, message, wparam, lparam);
            return true;
          default:
            return false;
        }
      });

  const POINT places[2] = {layout.close, layout.minimise};
  const int button_width = ChromeButtonWidth(layout.dpi);
  const int button_height = ChromeButtonHeight(layout.dpi);
  for (int b = 0; b < 2; ++b) {
    const ChromeButton kind = b == 0 ? ChromeButton::kClose : ChromeButton::kMinimise;
    for (int s = 0; s < 3; ++s) {
      pictures_[b][s].reset(MakeBitmap(DrawChromeButton(kind, static_cast<ChromeState>(s),
                                                        background, places[b].x, places[b].y,
                                                        layout.dpi)));
    }
  }
  close_ = MakeImage(picture_, kCloseId, L"close1", layout.close.x, layout.close.y, button_width,
                     button_height, pictures_[0][0].get(), true);
  minimise_ =
      MakeImage(picture_, kMinimiseId, layout.minimise_name, layout.minimise.x, layout.minimise.y,
                button_width, button_height, pictures_[1][0].get(), true);
  WireButton(close_, ChromeButton::kClose);
  WireButton(minimise_, ChromeButton::kMinimise);
}

HBITMAP WindowChrome::picture(ChromeButton button, ChromeState state) const {
  return pictures_[button == ChromeButton::kClose ? 0 : 1][static_cast<int>(state)].get();
}

ChromeState WindowChrome::Shown(ChromeButton button) const {
  return button == ChromeButton::kClose ? shown_.close : shown_.minimise;
}

void WindowChrome::Show(ChromeButton button, ChromeState state) {
  HWND target = button == ChromeButton::kClose ? close_ : minimise_;
  ChromeState& current = button == ChromeButton::kClose ? shown_.close : shown_.minimise;
  if (current == state)
    return;
  current = state;
  ::SendMessageW(target, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(picture(button, state)));
}

void WindowChrome::RS() {
  ChromePictures back = shown_;
  back.RS();
  Show(ChromeButton::kMinimise, back.minimise);
  Show(ChromeButton::kClose, back.close);
}

void WindowChrome::WireButton(HWND button, ChromeButton kind) {
  common::SubclassControl(button, [this, kind](HWND hwnd, UINT message, WPARAM wparam,
                                               LPARAM lparam, LRESULT* result) {
    switch (message) {
      case WM_MOUSEMOVE:
        Show(kind, ChromeState::kHover);
        return false;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        Show(kind, ChromeState::kPressed);
        if (message == WM_LBUTTONDOWN)
          ::SetCapture(hwnd);
        *result = 0;
        return true;
      case WM_LBUTTONUP: {
        const bool captured = ::GetCapture() == hwnd;
        if (captured)
          ::ReleaseCapture();
        RECT client;
        ::GetClientRect(hwnd, &client);
        const POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        if (captured && ::PtInRect(&client, at)) {
          // A click: press and release over the button.
          auto action = kind == ChromeButton::kClose ? on_close : on_minimise;
          if (action)
            action();
        }
        *result = 0;
        return true;
      }
      default:
        return false;
    }
  });
}

void WindowChrome::PaintBackground(HWND picture, HDC dc) const {
  RECT client;
  ::GetClientRect(picture, &client);
  // The brush's origin follows the viewport, which a control asking for
  // its parent's background has moved.
  POINT origin = {0, 0};
  ::GetViewportOrgEx(dc, &origin);
  POINT old_origin;
  ::SetBrushOrgEx(dc, origin.x, origin.y, &old_origin);
  if (background_brush_)
    ::FillRect(dc, &client, background_brush_.get());
  const common::OwnedBrush border(
      ::CreateSolidBrush(RGB((kBorder >> 16) & 0xFF, (kBorder >> 8) & 0xFF, kBorder & 0xFF)));
  const RECT left = {0, 0, 1, client.bottom};
  const RECT right = {client.right - 1, 0, client.right, client.bottom};
  ::FillRect(dc, &left, border.get());
  ::FillRect(dc, &right, border.get());
  ::SetBrushOrgEx(dc, old_origin.x, old_origin.y, nullptr);
}

LRESULT WindowChrome::TransparentControl(HWND control, HDC dc, COLORREF text) const {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text);
  return reinterpret_cast<LRESULT>(BackgroundBrush(control, dc));
}

HBRUSH WindowChrome::BackgroundBrush(HWND control, HDC dc) const {
  POINT origin = {0, 0};
  ::MapWindowPoints(control, picture_, &origin, 1);
  ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  return background_brush_.get();
}

}  // namespace look

namespace look {

HBRUSH WindowChrome::CaptionBrush(HWND control) {
  POINT origin = {0, 0};
  ::MapWindowPoints(control, picture_, &origin, 1);
  // The caption's line: 7 pixels down on the usual display.
  const int y = std::min(std::max<int>(origin.y + common::ScalePixels(7, dpi_), 0),
                         static_cast<int>(row_colours_.size()) - 1);
  const Rgb colour = row_colours_.empty() ? 0xFFFFFF : row_colours_[y];
  for (const auto& solid : solid_brushes_)
    if (solid.first == colour)
      return solid.second.get();
  common::OwnedBrush brush(
      ::CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)));
  HBRUSH shown = brush.get();
  solid_brushes_.emplace_back(colour, std::move(brush));
  return shown;
}

}  // namespace look
