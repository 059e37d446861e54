#include "cleaner-engine/cleaner_window_win.h"

#include "window-look/skin_engine_win.h"

namespace engine {

CleanerWindow::CleanerWindow() {
  quit_on_destroy = true;
  exit_action = [] { ::ExitProcess(0); };
  font_.reset(common::CreatePointFont(L"宋体", 9));
  title_font_.reset(common::CreatePointFont(L"宋体", 9, /*bold=*/true));
  icon_ = common::ProgramIcon(common::Scaled(16));
}

CleanerWindow::~CleanerWindow() {
  if (hwnd())
    ::DestroyWindow(hwnd());
}

bool CleanerWindow::CreateFrame(const Frame& frame) {
  using common::Scaled;
  RECT work = {0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = Scaled(frame.width), height = Scaled(frame.height);
  const int x = work.left + (work.right - work.left - width) / 2;
  const int y = work.top + (work.bottom - work.top - height) / 2;
  if (!Create(look::kFormClass, L"临时文件清除工具",
              WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU | WS_CLIPCHILDREN,
              WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, x, y, width, height, nullptr)) {
    return false;
  }
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(common::ProgramIcon(common::SmallIconSize())));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(common::ProgramIcon(common::LargeIconSize())));
  look::WindowChrome::Layout layout = look::WindowChrome::Layout::TopRight(
      common::ScreenDpi(), width, height, look::BackgroundStyle::kPanel, 5);
  layout.minimise_name = L"Mini";
  chrome_.Create(hwnd(), layout);
  // The close image ends the program at once; the window's own closing
  // steps do not run.
  chrome_.on_close = [this] { EndProgram(); };
  chrome_.on_minimise = [this] { ::ShowWindow(hwnd(), SW_MINIMIZE); };

  image_ = Make(kImageId, L"Static", L"", WS_VISIBLE | SS_ICON | SS_NOTIFY, 10, 7, 16, 16);
  ::SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  title_ =
      Make(kTitleId, L"Static", frame.title, WS_VISIBLE | SS_NOTIFY, 32, 9, 300, 16, title_font_.get());
  const int bottom = frame.list.bottom + 8;
  search_ = Make(kSearchId, L"Button", L"开始清理", WS_VISIBLE | WS_TABSTOP, frame.width - 192,
                 bottom, 86, 26);
  stop_ = Make(kStopId, L"Button", L"停止", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, frame.width - 98,
               bottom, 86, 26);
  // Never shown; stands at cmdStop's place as the exit command.
  exit_ = Make(kExitId, L"Button", L"退出(&C)", 0, frame.width - 98, bottom, 86, 26);
  target_ = Make(kTargetId, L"Edit", L"", ES_AUTOHSCROLL, 0, 0, 10, 10);
  const RECT list = {Scaled(frame.list.left), Scaled(frame.list.top), Scaled(frame.list.right),
                     Scaled(frame.list.bottom)};
  results_.Create(chrome_.picture(), kListId, kStatusId, list, font_.get());

  // The background: RS at every movement, then a drag while exactly the
  // left button is held. The title and its icon drag the same way where the
  // window says so, without RS.
  common::SubclassControl(chrome_.picture(),
                          [this](HWND, UINT message, WPARAM wparam, LPARAM, LRESULT*) {
                            if (message == WM_MOUSEMOVE) {
                              chrome_.RS();
                              if (look::DragOnMove(look::ButtonsOf(wparam)))
                                look::DragWindow(hwnd());
                            }
                            return false;
                          });
  if (frame.title_drags) {
    for (HWND handle : {title_, image_}) {
      common::SubclassControl(handle, [this](HWND, UINT message, WPARAM wparam, LPARAM, LRESULT*) {
        if (message == WM_MOUSEMOVE && look::DragOnMove(look::ButtonsOf(wparam)))
          look::DragWindow(hwnd());
        return false;
      });
    }
  }
  return true;
}

HWND CleanerWindow::Make(int id,
                         const wchar_t* cls,
                         const wchar_t* text,
                         DWORD style,
                         int x,
                         int y,
                         int w,
                         int h,
                         HFONT font) {
  // A pixel of the usual display is 15 twips.
  const common::ControlLayout layout = {id, cls, text, style, 0, x * 15, y * 15, w * 15, h * 15};
  return common::CreateControl(chrome_.picture(), layout, font ? font : font_.get());
}

void CleanerWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOW);
  ::UpdateWindow(hwnd());
}

void CleanerWindow::SetEnabled(CleanerControl control, bool enabled) {
  HWND target = control == CleanerControl::kSearch ? search_
                : control == CleanerControl::kStop ? stop_
                : control == CleanerControl::kExit ? exit_
                                                   : target_;
  ::EnableWindow(target, enabled);
}

void CleanerWindow::FocusControl(CleanerControl control) {
  HWND target = control == CleanerControl::kSearch ? search_
                : control == CleanerControl::kStop ? stop_
                : control == CleanerControl::kExit ? exit_
                                                   : target_;
  ::SetFocus(target);
}

common::MessageResult CleanerWindow::ShowMessage(const std::wstring& text,
                                                 const std::wstring& title,
                                                 common::MessageIcon icon,
                                                 common::MessageButtons buttons) {
  results_.FlushProgress();
  results_.ShowNewestRow();
  return ShowEngineMessage(hwnd(), text, title, icon, buttons);
}

void CleanerWindow::EndProgram() {
  if (exit_action)
    exit_action();
}

bool CleanerWindow::PreTranslateMessage(MSG& msg) {
  // With no focus window (its focused control was just disabled) a key
  // comes to the active window as a system key; without Alt held it is
  // still the Escape key.
  const bool escape = msg.wParam == VK_ESCAPE &&
                      (msg.message == WM_KEYDOWN ||
                       (msg.message == WM_SYSKEYDOWN && !(msg.lParam & (1 << 29))));
  if (escape) {
    OnEscape();
    return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

LRESULT CleanerWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (OnMessage(message, wparam, lparam, &result))
    return result;
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      HWND control = reinterpret_cast<HWND>(lparam);
      const LRESULT brush = chrome_.TransparentControl(
          control, dc, control == title_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
      if (control == frame_box_)
        return reinterpret_cast<LRESULT>(chrome_.CaptionBrush(control));
      return brush;
    }
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace engine
