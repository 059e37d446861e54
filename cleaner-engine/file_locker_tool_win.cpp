// file_locker PATH MARKER [chromium|firefox]
//
// Opens PATH without delete sharing, as a program that holds a file open
// does (a running browser its databases), creates the file MARKER to say
// so, and keeps the file open until it is ended. With "chromium" it holds
// PATH as a running Chromium holds its User Data\lockfile: made if missing,
// open for writing, shared for reading only, deleted when it closes. With
// "firefox" as a running Firefox holds its profile's parent.lock: made if
// missing, shared with nobody, left behind when it closes.
#include <string>

#include "common/owned_win.h"
#include "common/win32_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 4)
    return 2;
  const std::wstring mode = argc == 4 ? argv[3] : L"";
  common::OwnedHandle file;
  if (mode.empty()) {
    file.reset(
        ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  } else if (mode == L"chromium") {
    file.reset(::CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  } else if (mode == L"firefox") {
    file.reset(
        ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  } else {
    return 2;
  }
  if (!file)
    return 1;
  common::OwnedHandle(::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))
      .reset();
  ::Sleep(120000);
  return 0;
}
