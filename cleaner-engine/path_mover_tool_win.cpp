// path_mover FROM TO
//
// Renames FROM to TO with MoveFileW, as another program would, and exits
// with 0 when that worked, else with the error code (32: the folder is in
// use). The tests use it to see that a folder being walked cannot be
// renamed or replaced.
#include "common/win32_win.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3)
    return 2;
  if (::MoveFileW(argv[1], argv[2]))
    return 0;
  const DWORD error = ::GetLastError();
  return error == 0 ? 1 : static_cast<int>(error);
}
