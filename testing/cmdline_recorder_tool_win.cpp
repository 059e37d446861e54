// A program that records how it was started: it writes its own command line
// (UTF-16, as the platform hands it over) to the file named by the
// environment variable SUITE_RECORD, or to recorded.txt beside itself, then
// waits the number of milliseconds in SUITE_RECORD_WAIT, if set. With
// SUITE_RECORD_BITS set, the line begins with "32 " or "64 ", the build it
// is (it stands in for tools of both forms). It is a
// GUI program without a window (CMakeLists.txt), like the programs it
// stands in for: it takes no activation from the window under test.
#include <string>

#include "common/platform_win.h"

int wmain() {
  std::wstring target = common::GetEnvironmentText(L"SUITE_RECORD");
  if (target.empty()) {
    target = common::ModulePath();
    target.resize(target.find_last_of(L'\\') + 1);
    target += L"recorded.txt";
  }
  std::wstring line = ::GetCommandLineW();
  if (!common::GetEnvironmentText(L"SUITE_RECORD_BITS").empty())
    line = (sizeof(void*) == 8 ? L"64 " : L"32 ") + line;
  HANDLE file = ::CreateFileW(target.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    const std::wstring record = line + L"\n";
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size() * sizeof(wchar_t)), &written,
                nullptr);
    ::CloseHandle(file);
  }
  const std::wstring wait = common::GetEnvironmentText(L"SUITE_RECORD_WAIT");
  if (!wait.empty())
    ::Sleep(static_cast<DWORD>(std::stoul(wait)));
  return 0;
}
