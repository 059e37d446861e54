// Tovrix: the command box (快捷输入框) with its music player.
#include <objbase.h>

#include "command-box/command_box_window_win.h"
#include "command-box/single_instance_win.h"
#include "common/program_terminate_win.h"
#include "common/window_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // One box per user session: a later start shows the box there is and
  // ends.
  commandbox::Win32SessionClaim claim;
  if (commandbox::DecideStart(claim) == commandbox::StartDecision::kShowedEarlierBox)
    return 0;
  ::CoInitialize(nullptr);  // DirectShow, in this thread's apartment
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&controls);
  int code = 1;
  {
    commandbox::CommandBoxWindow box;
    if (box.Open()) {
      claim.NameBox(box.hwnd());
      code = common::RunMessageLoop();
    }
    claim.NameBox(nullptr);
  }
  ::CoUninitialize();
  return code;
}
