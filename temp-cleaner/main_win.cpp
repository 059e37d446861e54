// tmpsweep: 临时文件清除工具.
#include "common/program_terminate_win.h"
#include "common/window_win.h"
#include "temp-cleaner/temp_cleaner_window_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                   ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  tempclean::Win32TempCleanerSystem system;
  tempclean::TempCleanerWindow window(system);
  if (!window.Open())
    return 1;
  return common::RunMessageLoop();
}
