// The borderless window frame every main window uses: Picture1 (the
// background picture, which holds the other controls), the close and
// minimise image buttons with their six hidden pictures, RS and
// drag-to-move. The pictures come from chrome_pictures.
#ifndef WINDOW_LOOK_CHROME_WIN_H_
#define WINDOW_LOOK_CHROME_WIN_H_

#include <functional>
#include <utility>
#include <vector>

#include "common/display_scale.h"
#include "common/owned_win.h"
#include "common/win32_win.h"
#include "window-look/chrome_pictures.h"

namespace look {

// A bitmap of the display's format holding a picture. The caller owns it.
HBITMAP MakeBitmap(const Picture& picture);

// Starts moving `window` with the mouse as by its title bar; returns when
// the button is released.
void DragWindow(HWND window);

// Mouse buttons of a mouse message, as the handlers see them (1 left, 2
// right, 4 middle).
int ButtonsOf(WPARAM mouse_keys);

class WindowChrome {
 public:
  // Sizes and places in display pixels, at `dpi`.
  struct Layout {
    int dpi = common::kUsualDpi;
    int width = 0, height = 0;  // client size
    BackgroundStyle style = BackgroundStyle::kPanel;
    int title_height = 30;
    // Top-left corners of the minimise and close buttons.
    POINT minimise = {0, 0};
    POINT close = {0, 0};
    // The minimise button's name: "mini" in most windows, "Mini" in the
    // cleaners.
    const wchar_t* minimise_name = L"mini";

    // The usual frame: close in the top right corner, minimise beside it,
    // `button_top` and the title band given for the usual display.
    static Layout TopRight(int dpi, int width, int height, BackgroundStyle style, int button_top) {
      Layout layout;
      layout.dpi = dpi;
      layout.width = width;
      layout.height = height;
      layout.style = style;
      layout.title_height = common::ScalePixels(30, dpi);
      const int top = common::ScalePixels(button_top, dpi);
      layout.minimise = {width - common::ScalePixels(56, dpi), top};
      layout.close = {width - common::ScalePixels(28, dpi), top};
      return layout;
    }
  };

  WindowChrome() = default;
  WindowChrome(const WindowChrome&) = delete;
  WindowChrome& operator=(const WindowChrome&) = delete;
  ~WindowChrome();

  // Creates Picture1 over the whole client area of `form`, the six
  // pictures and the two buttons. Controls created later with
  // picture() as parent lie on the background; their notifications reach
  // `form`.
  void Create(HWND form, const Layout& layout);

  HWND picture() const { return picture_; }
  HWND close_button() const { return close_; }
  HWND minimise_button() const { return minimise_; }
  // The six pictures the buttons take their looks from (closenor,
  // closemove, closedown, mininor, minimove, minidown): bitmaps kept here,
  // not windows, as hidden images need none.
  HBITMAP picture(ChromeButton button, ChromeState state) const;
  // The picture a button shows now.
  ChromeState Shown(ChromeButton button) const;

  // RS: the minimise button back to mininor, then close1 to closenor.
  void RS();
  void Show(ChromeButton button, ChromeState state);

  // What the buttons do when clicked (press and release over them).
  std::function<void()> on_close;
  std::function<void()> on_minimise;

  // A brush that paints the part of the background behind `control` (a
  // child of Picture1): what WM_CTLCOLORSTATIC returns for transparent
  // labels and boxes. Call from the form's handler with the control's DC.
  HBRUSH BackgroundBrush(HWND control, HDC dc) const;
  // The whole answer to WM_CTLCOLORSTATIC for a control on the background:
  // transparent text of the colour, the background brush behind it.
  LRESULT TransparentControl(HWND control, HDC dc, COLORREF text) const;

  // A solid brush of the background's colour at the control's caption
  // line: for group boxes, which paint their caption without the brush
  // origin a pattern brush needs. The gradient changes too slowly for the
  // difference to show.
  HBRUSH CaptionBrush(HWND control);

 private:
  void WireButton(HWND button, ChromeButton kind);
  // Picture1's background into a DC of it (or of a control that asks).
  void PaintBackground(HWND picture, HDC dc) const;

  HWND form_ = nullptr;
  int dpi_ = common::kUsualDpi;
  HWND picture_ = nullptr;
  HWND close_ = nullptr;
  HWND minimise_ = nullptr;
  common::OwnedBitmap pictures_[2][3];
  // The background lives in this pattern brush alone: Picture1 paints
  // itself with it, and so do the transparent controls. A bitmap and a
  // picture of it kept besides would hold two more copies (of 1.3 MB for
  // a cleaner's window).
  common::OwnedBrush background_brush_;
  // The background's colour in each row, inside the border (the background
  // changes from row to row only): for CaptionBrush.
  std::vector<Rgb> row_colours_;
  std::vector<std::pair<Rgb, common::OwnedBrush>> solid_brushes_;
  ChromePictures shown_;
};

}  // namespace look

#endif  // WINDOW_LOOK_CHROME_WIN_H_
