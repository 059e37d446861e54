// window_probe CAPTION [TIMEOUT_MS] [--type TEXT | --click CAPTION | --close]
//
// Waits until a visible top-level window with the caption exists, then
// prints its screen rectangle as "left top width height" and exits 0; exits
// 1 when the time runs out. Used by scripts/run to know when a program's
// window is on screen, and where. With --type it puts TEXT into the
// window's first edit box and presses Enter there; with --click it clicks
// the button of that caption: how scripts/run uses a program once for a
// demonstration. With --close it closes the window as its close box does
// and waits, within the same time, until the window's process has ended
// (exit 1 if it has not): how scripts/run ends a program before it ends the
// Wine session, rather than pulling the session from under it.
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

struct ChildSearch {
  const wchar_t* class_name;
  const wchar_t* text;  // nullptr: any
  HWND found;
};

BOOL CALLBACK VisitChild(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<ChildSearch*>(lparam);
  wchar_t cls[64] = {}, text[256] = {};
  ::GetClassNameW(hwnd, cls, 64);
  ::GetWindowTextW(hwnd, text, 256);
  if (::IsWindowVisible(hwnd) && ::lstrcmpiW(cls, search->class_name) == 0 &&
      (!search->text || std::wstring(text) == search->text)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindChild(HWND parent, const wchar_t* class_name, const wchar_t* text) {
  ChildSearch search{class_name, text, nullptr};
  ::EnumChildWindows(parent, VisitChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
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
      if (argc > 4 && std::wstring(argv[3]) == L"--type") {
        HWND edit = FindChild(search.found, L"Edit", nullptr);
        if (!edit)
          return 1;
        ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
      } else if (argc > 4 && std::wstring(argv[3]) == L"--click") {
        HWND button = FindChild(search.found, L"Button", argv[4]);
        if (!button)
          return 1;
        ::PostMessageW(button, BM_CLICK, 0, 0);
      } else if (argc > 3 && std::wstring(argv[3]) == L"--close") {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(search.found, &pid);
        HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
        ::PostMessageW(search.found, WM_CLOSE, 0, 0);
        if (!process)
          return 1;
        const DWORD elapsed = ::GetTickCount() - start;
        const DWORD left = elapsed < timeout ? timeout - elapsed : 0;
        const bool ended = ::WaitForSingleObject(process, left) == WAIT_OBJECT_0;
        ::CloseHandle(process);
        return ended ? 0 : 1;
      }
      return 0;
    }
    ::Sleep(100);
  }
  return 1;
}
