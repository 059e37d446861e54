// empty_window: a program that shows one empty window (caption "空窗口")
// and waits for it to be closed. The yardstick of scripts/bench for start-up
// time and memory: what every window program under the same Wine costs.
#include "common/win32_win.h"

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = Proc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = L"SuiteEmptyWindow";
  ::RegisterClassW(&window_class);
  HWND window = ::CreateWindowExW(0, L"SuiteEmptyWindow", L"空窗口", WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr,
                                  instance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
