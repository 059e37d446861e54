// window_probe CAPTION [TIMEOUT_MS] [MESSAGE COUNT...]
//
// Waits until a visible top-level window with the caption exists, then
// prints its screen rectangle as "left top width height" and exits 0; exits
// 1 when the time runs out. Used by scripts/run to know when a program's
// window is on screen, and where.
#include <cstdio>
#include <string>

#include "common/win32_win.h"

namespace {

struct Search {
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  wchar_t text[256] = {};
  ::GetWindowTextW(hwnd, text, 256);
  if (::IsWindowVisible(hwnd) && std::wstring(text) == search->caption) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_probe CAPTION [TIMEOUT_MS]\n");
    return 2;
  }
  const DWORD timeout = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 20000;
  const DWORD start = ::GetTickCount();
  Search search{argv[1], nullptr};
  while (::GetTickCount() - start < timeout) {
    search.found = nullptr;
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
      RECT rect;
      ::GetWindowRect(search.found, &rect);
      std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top);
      return 0;
    }
    ::Sleep(100);
  }
  return 1;
}
