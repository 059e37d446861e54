#include "junk-cleaner/junk_cleaner_window_win.h"

#include "window-look/skin_engine_win.h"

namespace junkclean {
namespace {

enum ControlId {
  kCheckBase = 200,  // Check2 .. Check28: 202 .. 228
  kText1 = 300,
  kText27,
  kFrame1,
};

}  // namespace

JunkCleanerWindow::JunkCleanerWindow() : logic_(*this, files_, drives_, processes_) {}

bool JunkCleanerWindow::Open() {
  Frame frame;
  frame.title = L"junksweep － Tovrix";
  frame.width = kWidth;
  frame.height = kHeight;
  frame.list = RECT{12, 150, kWidth - 12, 414};
  frame.title_drags = true;
  if (!CreateFrame(frame))
    return false;
  ::SetWindowTextW(textPath(), engine::kWholeDiskTarget);
  CreateControls();
  logic_.Form_Load();
  Show();
  ::SetFocus(cmdSearch());
  return true;
}

void JunkCleanerWindow::CreateControls() {
  frame_ = Make(kFrame1, L"Button", L"请选择要清理的文件格式：",
                WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, 12, 38, 656, 104);
  SetFrameBox(frame_);
  // Three rows: Check2..Check11, Check12..Check21, then Check22..Check26
  // with the custom box, its two fields and select-all.
  for (int box = kFirstType; box <= kLastType; ++box) {
    const int index = box - kFirstType;
    const int row = index / 10, column = index % 10;
    checks_[box] =
        Make(kCheckBase + box, L"Button", TypeOf(box).caption,
             WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 24 + column * 64, 60 + row * 26, 60, 18);
  }
  const int third = 60 + 2 * 26;
  checks_[kCustomBox] = Make(kCheckBase + kCustomBox, L"Button", L"自定义：",
                             WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 344, third, 74, 18);
  text27_ = Make(kText27, L"Edit", L"", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL, 420,
                 third - 1, 64, 20);
  text1_ = Make(kText1, L"Edit", L"", WS_VISIBLE | WS_TABSTOP | WS_DISABLED | ES_AUTOHSCROLL, 490,
                third - 1, 64, 20);
  for (HWND field : {text27_, text1_})
    ::SetWindowLongW(field, GWL_EXSTYLE, ::GetWindowLongW(field, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
  for (HWND field : {text27_, text1_})
    ::SetWindowPos(field, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  checks_[kSelectAll] = Make(kCheckBase + kSelectAll, L"Button", L"全  选",
                             WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 576, third, 80, 18);
}

void JunkCleanerWindow::OnCommand(int id, int code, HWND control) {
  if (id >= kCheckBase + kFirstType && id <= kCheckBase + kSelectAll && code == BN_CLICKED) {
    logic_.CheckClicked(id - kCheckBase, ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return;
  }
  if ((id == kText1 || id == kText27) && code == EN_CHANGE && !setting_text_) {
    logic_.CustomTextChanged(id == kText1 ? CustomField::kText1 : CustomField::kText27,
                             common::WindowText(control));
    return;
  }
  if (code != BN_CLICKED)
    return;
  if (id == kSearchId)
    logic_.cmdSearch_Click();
  if (id == kStopId)
    logic_.cmdStop_Click();
  if (id == kExitId)
    logic_.cmdExit_Click();
}

void JunkCleanerWindow::SetCheck(int box, bool ticked) {
  ::SendMessageW(checks_[box], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void JunkCleanerWindow::SetCustomText(CustomField field, const std::wstring& text) {
  setting_text_ = true;
  ::SetWindowTextW(custom(field), text.c_str());
  setting_text_ = false;
}

void JunkCleanerWindow::EnableCustomField(CustomField field, bool enabled) {
  ::EnableWindow(custom(field), enabled);
}

void JunkCleanerWindow::AttachSkins() {
  look::AttachSkin(hwnd());
}

void JunkCleanerWindow::ShowHint(const std::wstring& text) {
  ::MessageBoxW(hwnd(), text.c_str(), kProgramTitle, MB_OK);
}

}  // namespace junkclean
