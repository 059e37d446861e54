// launch_timer PROGRAM CAPTION READY DONE
//
// Starts PROGRAM (in its own folder) and measures the time until a visible
// top-level window with the caption exists, by looking every millisecond;
// prints "visible_ms N". Two seconds later it creates the file READY and
// waits (at most a minute) for the file DONE, so that scripts/bench can
// read the program's resident memory meanwhile; then it closes the window
// as its close box does and waits for the program to end.
#include <cstdio>
#include <string>

#include "common/win32_win.h"

namespace {

struct Search {
  const wchar_t* caption;
  DWORD pid;
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM lparam) {
  auto* search = reinterpret_cast<Search*>(lparam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid || !::IsWindowVisible(hwnd))
    return TRUE;
  wchar_t text[256] = {};
  ::GetWindowTextW(hwnd, text, 256);
  if (std::wstring(text) == search->caption) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

double Now() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool Exists(const wchar_t* path) {
  return ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5)
    return 2;
  std::wstring program = argv[1];
  std::wstring folder = program.substr(0, program.find_last_of(L'\\'));
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  const double start = Now();
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
    return 1;
  Search search{argv[2], info.dwProcessId, nullptr};
  while (!search.found && Now() - start < 30000) {
    // Only the windows of that caption are looked at: a look at every
    // window each millisecond would keep the Wine server busy, which the
    // program measured needs as well.
    for (HWND w = ::FindWindowExW(nullptr, nullptr, nullptr, search.caption); w && !search.found;
         w = ::FindWindowExW(nullptr, w, nullptr, search.caption)) {
      Visit(w, reinterpret_cast<LPARAM>(&search));
    }
    if (!search.found)
      ::Sleep(1);
  }
  if (!search.found)
    return 1;
  std::printf("visible_ms %.1f\n", Now() - start);
  std::fflush(stdout);
  ::Sleep(2000);
  HANDLE ready = ::CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ::CloseHandle(ready);
  for (int i = 0; i < 6000 && !Exists(argv[4]); ++i)
    ::Sleep(10);
  ::PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
    ::TerminateProcess(info.hProcess, 1);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return 0;
}
