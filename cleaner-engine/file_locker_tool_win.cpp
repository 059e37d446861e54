// file_locker PATH MARKER
//
// Opens PATH without delete sharing, as a program that holds a file open
// does, creates the file MARKER to say so, and keeps the file open until
// it is ended.
#include "common/win32_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3)
    return 2;
  HANDLE file =
      ::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 1;
  HANDLE marker = ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE)
    ::CloseHandle(marker);
  ::Sleep(60000);
  ::CloseHandle(file);
  return 0;
}
