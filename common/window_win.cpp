#include "common/window_win.h"

#include "common/owned_win.h"
#include "common/program_path.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace common {
namespace {

// Live window objects, so that the loops can offer them messages first.
std::vector<Window*>& LiveWindows() {
  static std::vector<Window*> windows;
  return windows;
}

// Each subclass gets its own id, so several can stack on one control.
UINT_PTR NextSubclassId() {
  static UINT_PTR next = 0x7A17;
  return next++;
}

LRESULT CALLBACK
SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR data) {
  auto* handler = reinterpret_cast<ControlHandler*>(data);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, SubclassProc, id);
    delete handler;
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  LRESULT result = 0;
  if ((*handler)(hwnd, message, wparam, lparam, &result))
    return result;
  return ::DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace

Window::~Window() {
  auto& live = LiveWindows();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
  if (hwnd_) {
    HWND hwnd = hwnd_;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
    ::DestroyWindow(hwnd);
  }
}

bool Window::Create(const wchar_t* class_name,
                    const wchar_t* caption,
                    DWORD style,
                    DWORD ex_style,
                    int x,
                    int y,
                    int width,
                    int height,
                    HWND owner,
                    HICON icon,
                    UINT class_style) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(instance, class_name, &wc)) {
    wc.cbSize = sizeof(wc);
    wc.style = class_style;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.lpszClassName = class_name;
    if (!::RegisterClassExW(&wc))
      return false;
  }
  HWND hwnd = ::CreateWindowExW(ex_style, class_name, caption, style, x, y, width, height, owner,
                                nullptr, instance, this);
  return hwnd != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    self = static_cast<Window*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    LiveWindows().push_back(self);
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self)
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    const LRESULT result = self->HandleMessage(message, wparam, lparam);
    if (self->quit_on_destroy)
      ::PostQuitMessage(0);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    auto& live = LiveWindows();
    live.erase(std::remove(live.begin(), live.end(), self), live.end());
    self->OnDestroyed();
    return result;
  }
  return self->HandleMessage(message, wparam, lparam);
}

void DispatchOne(MSG& msg) {
  if (msg.hwnd) {
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    // Copy: a handler may create or destroy windows.
    const std::vector<Window*> live = LiveWindows();
    for (Window* w : live) {
      if (w->hwnd() && (w->hwnd() == root || w->hwnd() == msg.hwnd) &&
          w->PreTranslateMessage(msg)) {
        return;
      }
    }
  }
  ::TranslateMessage(&msg);
  ::DispatchMessageW(&msg);
}

int RunMessageLoop() {
  MSG msg;
  while (true) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
      break;
    DispatchOne(msg);
  }
  return static_cast<int>(msg.wParam);
}

unsigned long long SteadyMilliseconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    if (!::QueryPerformanceFrequency(&f) || f.QuadPart == 0)
      f.QuadPart = 1000;
    return f;
  }();
  LARGE_INTEGER now;
  if (!::QueryPerformanceCounter(&now))
    return ::GetTickCount();
  return static_cast<unsigned long long>(now.QuadPart) * 1000ull /
         static_cast<unsigned long long>(frequency.QuadPart);
}

void Yield() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchOne(msg);
  }
}

HWND CreateControl(HWND parent, const ControlLayout& layout, HFONT font) {
  // The edges are converted, so that controls that meet in twips meet in
  // pixels at every density.
  const int left = TwipsToPixels(layout.left), top = TwipsToPixels(layout.top);
  HWND control = ::CreateWindowExW(
      layout.ex_style, layout.class_name, layout.text ? layout.text : L"", WS_CHILD | layout.style,
      left, top, TwipsToPixels(layout.left + layout.width) - left,
      TwipsToPixels(layout.top + layout.height) - top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), ::GetModuleHandleW(nullptr),
      nullptr);
  if (control && font)
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND CreateTooltip(HWND owner) {
  return ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                           WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, owner, nullptr,
                           ::GetModuleHandleW(nullptr), nullptr);
}

void AddTip(HWND tooltip, HWND owner, HWND tool, const wchar_t* text) {
  TOOLINFOW info = {};
  // The size every comctl32 from version 4 takes.
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = owner;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = const_cast<wchar_t*>(text);
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

int ScreenDpi() {
  static const int dpi = [] {
    const WindowDc screen(nullptr);
    return UsableDpi(screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : kUsualDpi);
  }();
  return dpi;
}

HFONT CreatePointFont(const wchar_t* face, double points, bool bold, BYTE charset) {
  const int dpi = ScreenDpi();
  LOGFONTW lf = {};
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = charset;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return ::CreateFontIndirectW(&lf);
}

HICON ProgramIcon(int size) {
  static std::vector<std::pair<int, HICON>> icons;
  for (const auto& icon : icons)
    if (icon.first == size)
      return icon.second;
  HICON icon = static_cast<HICON>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
  if (icon)
    icons.emplace_back(size, icon);
  return icon;
}

int SmallIconSize() {
  const int size = ::GetSystemMetrics(SM_CXSMICON);
  return size > 0 ? size : Scaled(16);
}

int LargeIconSize() {
  const int size = ::GetSystemMetrics(SM_CXICON);
  return size > 0 ? size : Scaled(32);
}

bool AllowMessageFromLowerIntegrity(HWND window, UINT message) {
  using FilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
  using Filter = BOOL(WINAPI*)(UINT, DWORD);
  constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW, and MSGFLT_ADD of the older call
  HMODULE user = ::GetModuleHandleW(L"user32.dll");
  if (const auto filter_ex = reinterpret_cast<FilterEx>(
          reinterpret_cast<void*>(::GetProcAddress(user, "ChangeWindowMessageFilterEx")))) {
    return filter_ex(window, message, kAllow, nullptr) != FALSE;
  }
  if (const auto filter = reinterpret_cast<Filter>(
          reinterpret_cast<void*>(::GetProcAddress(user, "ChangeWindowMessageFilter")))) {
    return filter(message, kAllow) != FALSE;
  }
  return true;
}

std::wstring WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0)
    return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

RECT ControlRect(HWND control) {
  RECT rect = {};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void SetControlTopTwips(HWND control, int top_twips) {
  const RECT rect = ControlRect(control);
  ::SetWindowPos(control, nullptr, rect.left, TwipsToPixels(top_twips), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SubclassControl(HWND control, ControlHandler handler) {
  auto* owned = new ControlHandler(std::move(handler));
  if (!::SetWindowSubclass(control, SubclassProc, NextSubclassId(),
                           reinterpret_cast<DWORD_PTR>(owned))) {
    delete owned;
  }
}

}  // namespace common
