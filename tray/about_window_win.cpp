#include "tray/about_window_win.h"

#include "window-look/skin_engine_win.h"

namespace tray {
namespace {

enum { kLabel1 = 101, kLabel2, kLabel3, kLabel4 };

}  // namespace

AboutWindow::AboutWindow(Texts texts, Actions actions)
    : texts_(std::move(texts)), actions_(std::move(actions)) {
  font_.reset(common::CreatePointFont(L"宋体", 9));
  bold_font_.reset(common::CreatePointFont(L"Tahoma", 9, /*bold=*/true));
}

AboutWindow::~AboutWindow() {
  Close();
}

void AboutWindow::EnsureCreated() {
  if (Exists())
    return;
  // Centred on the work area.
  RECT work = {0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  using common::Scaled;
  const int width = Scaled(kWidth), height = Scaled(kHeight);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  if (!Create(look::kFormClass, L"About Tovrix V 1.0", WS_POPUP | WS_SYSMENU, WS_EX_TOOLWINDOW, x,
              y, width, height, nullptr)) {
    return;
  }
  look::WindowChrome::Layout layout;
  layout.dpi = common::ScreenDpi();
  layout.width = width;
  layout.height = height;
  layout.style = look::BackgroundStyle::kStrip;
  layout.title_height = Scaled(30);
  // The About window has no close or minimise button: they lie outside it.
  const POINT outside = {-2 * look::ChromeButtonWidth(layout.dpi),
                         -2 * look::ChromeButtonHeight(layout.dpi)};
  layout.minimise = outside;
  layout.close = outside;
  chrome_.Create(hwnd(), layout);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  auto make = [&](int id, const wchar_t* text, int x, int y, int w, int h, HFONT font,
                  DWORD style) {
    // Given in pixels of the usual display.
    HWND label = ::CreateWindowExW(
        0, L"Static", text, WS_CHILD | WS_VISIBLE | SS_NOTIFY | style, Scaled(x), Scaled(y),
        Scaled(x + w) - Scaled(x), Scaled(y + h) - Scaled(y), chrome_.picture(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return label;
  };
  label1_ = make(kLabel1, L"Zirro Lnk V1.0", 0, 6, kWidth, 16, bold_font_.get(), SS_CENTER);
  label3_ = make(kLabel3, L"官方网站：", 60, 28, 76, 16, font_.get(), 0);
  label4_ = make(kLabel4, texts_.site.c_str(), 136, 28, 180, 16, bold_font_.get(), 0);
  label2_ = make(kLabel2, texts_.notice.c_str(), 0, 48, kWidth, 16, bold_font_.get(), SS_CENTER);

  menu_ = ::CreatePopupMenu();
  ::AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(MenuItem::kShow), L"显示");
  ::AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(MenuItem::kAbout), L"关于");
  ::AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu_, MF_STRING, static_cast<UINT_PTR>(MenuItem::kExit), L"退出");
}

void AboutWindow::ShowModeless() {
  EnsureCreated();
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd());
}

void AboutWindow::PopupMenu() {
  EnsureCreated();
  POINT at;
  ::GetCursorPos(&at);
  const UINT chosen =
      ::TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd(), nullptr);
  // Without this the menu may not close when the user clicks elsewhere
  // next time (the documented behaviour of menus of notification icons).
  ::PostMessageW(hwnd(), WM_NULL, 0, 0);
  if (chosen != 0)
    Choose(static_cast<MenuItem>(chosen));
}

void AboutWindow::Choose(MenuItem item) {
  if (actions_.menu)
    actions_.menu(item);
}

void AboutWindow::Close() {
  if (!Exists())
    return;
  ::DestroyWindow(hwnd());
}

HWND AboutWindow::label(int n) const {
  switch (n) {
    case 1:
      return label1_;
    case 2:
      return label2_;
    case 3:
      return label3_;
    default:
      return label4_;
  }
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == STN_CLICKED && LOWORD(wparam) >= kLabel2 && LOWORD(wparam) <= kLabel4) {
        if (actions_.open)
          actions_.open(texts_.site);
        return 0;
      }
      if (HIWORD(wparam) == 0 && lparam == 0) {  // a menu item sent as a command
        Choose(static_cast<MenuItem>(LOWORD(wparam)));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lparam);
      return chrome_.TransparentControl(control, reinterpret_cast<HDC>(wparam),
                                        control == label1_ ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
    case WM_SETCURSOR: {
      // The three lower labels are links.
      HWND over = reinterpret_cast<HWND>(wparam);
      if (over == label2_ || over == label3_ || over == label4_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      ::DestroyWindow(hwnd());
      return 0;
    case WM_NCDESTROY:
      if (menu_)
        ::DestroyMenu(menu_);
      menu_ = nullptr;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace tray
