// skin_sample: a window that shows the window look of the suite at a
// glance, for screenshots: the frame with its title and buttons, a skinned
// push button in each of the four states, a framed edit and list view.
#include <string>

#include "common/owned_win.h"
#include "common/window_win.h"
#include "window-look/chrome_win.h"
#include "window-look/skin_engine_win.h"

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 260;

class SampleForm : public common::Window {
 public:
  SampleForm() {
    font_.reset(common::CreatePointFont(L"宋体", 9));
    Create(look::kFormClass, L"窗口外观示例", WS_POPUP | WS_CLIPCHILDREN, 0, 120, 120, kWidth,
           kHeight, nullptr);
    look::WindowChrome::Layout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.title_height = 30;
    layout.minimise = {kWidth - 56, 5};
    layout.close = {kWidth - 30, 5};
    chrome_.Create(hwnd(), layout);
    HWND title = Make(L"Static", L"窗口外观 - Tovrix", 12, 8, 200, 16, 0);
    title_ = title;
    const wchar_t* captions[] = {L"开始清理", L"悬停", L"按下", L"停止"};
    for (int i = 0; i < 4; ++i)
      buttons_[i] = Make(L"Button", captions[i], 16 + i * 98, 48, 86, 26, WS_TABSTOP);
    ::EnableWindow(buttons_[3], FALSE);
    edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"自定义后缀：.jpeg",
                              WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 16, 90, 200, 22,
                              chrome_.picture(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT, 16, 124, kWidth - 32, 120,
                              chrome_.picture(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    const wchar_t* columns[] = {L"文件路径", L"文件大小", L"状态"};
    const int widths[] = {220, 80, 80};
    for (int i = 0; i < 3; ++i) {
      LVCOLUMNW c = {};
      c.mask = LVCF_TEXT | LVCF_WIDTH;
      c.pszText = const_cast<wchar_t*>(columns[i]);
      c.cx = widths[i];
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&c));
    }
    const wchar_t* rows[][3] = {{L"C:\\WINDOWS\\Temp\\a.tmp", L"2 kb", L"清除成功"},
                                {L"C:\\WINDOWS\\Temp\\b.bak", L"0 kb", L"清除失败"}};
    for (int r = 0; r < 2; ++r) {
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = r;
      item.pszText = const_cast<wchar_t*>(rows[r][0]);
      ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      for (int c = 1; c < 3; ++c) {
        item.iSubItem = c;
        item.pszText = const_cast<wchar_t*>(rows[r][c]);
        ::SendMessageW(list_, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
      }
    }
    chrome_.on_close = [] { ::PostQuitMessage(0); };
    chrome_.on_minimise = [this] { ::ShowWindow(hwnd(), SW_MINIMIZE); };
    look::AttachSkin(hwnd());
    // Hold the second and third buttons in their hover and pressed faces.
    ::SetPropW(buttons_[1], L"OLDSTATE", reinterpret_cast<HANDLE>(1));
    ::SetPropW(buttons_[2], L"OLDSTATE", reinterpret_cast<HANDLE>(2));
    ::ShowWindow(hwnd(), SW_SHOW);
    ::SetFocus(edit_);
  }
  ~SampleForm() override {
    if (hwnd())
      ::DestroyWindow(hwnd());
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_CTLCOLORSTATIC) {
      HWND control = reinterpret_cast<HWND>(lparam);
      return chrome_.TransparentControl(control, reinterpret_cast<HDC>(wparam),
                                        control == title_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    return Window::HandleMessage(message, wparam, lparam);
  }
  void OnDestroyed() override { ::PostQuitMessage(0); }

 private:
  HWND Make(const wchar_t* cls, const wchar_t* text, int x, int y, int w, int h, DWORD style) {
    HWND control =
        ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                          chrome_.picture(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
  }

  look::WindowChrome chrome_;
  common::OwnedFont font_;
  HWND title_ = nullptr;
  HWND buttons_[4] = {};
  HWND edit_ = nullptr;
  HWND list_ = nullptr;
};

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  SampleForm form;
  return common::RunMessageLoop();
}
