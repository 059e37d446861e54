#include "temp-cleaner/temp_cleaner_window_win.h"

#include <vector>

#include "window-look/skin_engine_win.h"

namespace tempclean {
namespace {

enum ControlId {
  kCheckBase = 200,  // Check1 .. Check8: 201 .. 208
  kLabel3 = 300,
  kLabel4,
  kLabel5,
  kFrame1,
  kSearch,
  kStop,
  kExit,
  kTarget,
  kList,
  kStatus,
  kImage,
};

constexpr UINT_PTR kTimer1 = 1;

}  // namespace

// ---- the system ---------------------------------------------------------------

bool Win32TempCleanerSystem::EnableDebugPrivilege() { return engine::EnableDebugPrivilege(); }

std::wstring Win32TempCleanerSystem::WindowsVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info)) return L"";
  return std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion);
}

std::wstring Win32TempCleanerSystem::WindowsFolder() {
  return common::GetEnvironmentText(L"windir");
}

std::wstring Win32TempCleanerSystem::UserName() {
  wchar_t name[256] = {};
  DWORD size = 255;
  if (!::GetUserNameW(name, &size)) return L"";
  return name;
}

std::wstring Win32TempCleanerSystem::SystemFolder() {
  wchar_t folder[256] = {};
  const UINT length = ::GetSystemDirectoryW(folder, 255);
  return length > 0 && length < 255 ? std::wstring(folder, length) : std::wstring();
}

bool Win32TempCleanerSystem::WriteRunValue(const std::wstring& name, const std::wstring& data) {
  return common::WriteRunValue(name, data);
}

bool Win32TempCleanerSystem::DeleteRunValue(const std::wstring& name) {
  return common::DeleteRunValue(name);
}

common::ProgramPath Win32TempCleanerSystem::Program() { return common::CurrentProgramPath(); }

bool Win32TempCleanerSystem::WriteScript(const std::wstring& name, const std::wstring& text) {
  const std::string bytes = common::AnsiCodePage().Encode(text);
  HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size();
}

// The command interpreter runs the script; it is named by COMSPEC as the
// platform sets it, "cmd.exe" otherwise.
bool Win32TempCleanerSystem::StartScriptHidden(const std::wstring& name) {
  std::wstring shell = common::GetEnvironmentText(L"COMSPEC");
  if (shell.empty()) shell = L"cmd.exe";
  return common::StartCommandLine(shell + L" /c " + name, common::StartWindow::kHidden);
}

// ---- the window -----------------------------------------------------------------

TempCleanerWindow::TempCleanerWindow(TempCleanerSystem& system)
    : logic_(*this, system, files_, drives_, processes_) {
  exit_action = [] { ::ExitProcess(0); };
  font_ = common::CreatePointFont(L"宋体", 9);
  title_font_ = common::CreatePointFont(L"宋体", 9, /*bold=*/true);
  icon_ = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                          IMAGE_ICON, 16, 16, LR_SHARED));
}

TempCleanerWindow::~TempCleanerWindow() {
  if (hwnd()) ::DestroyWindow(hwnd());
  ::DeleteObject(font_);
  ::DeleteObject(title_font_);
}

bool TempCleanerWindow::Open() {
  // The window is centred on the work area.
  RECT work = {0, 0, 1024, 768};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - kWidth) / 2;
  const int y = work.top + (work.bottom - work.top - kHeight) / 2;
  if (!Create(look::kFormClass, L"临时文件清除工具", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU |
                                                        WS_CLIPCHILDREN,
              WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, x, y, kWidth, kHeight, nullptr)) {
    return false;
  }
  if (icon_) {
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  }
  CreateControls();
  logic_.Form_Load();
  ::ShowWindow(hwnd(), SW_SHOW);
  ::UpdateWindow(hwnd());
  ::SetFocus(search_);
  return true;
}

HWND TempCleanerWindow::Make(int id, const wchar_t* cls, const wchar_t* text, DWORD style,
                             int x, int y, int w, int h, HFONT font) {
  const common::ControlLayout layout = {id, cls, text, style, 0, x * 15, y * 15, w * 15, h * 15};
  return common::CreateControl(chrome_.picture(), layout, font ? font : font_);
}

void TempCleanerWindow::CreateControls() {
  look::WindowChrome::Layout layout;
  layout.width = kWidth;
  layout.height = kHeight;
  layout.title_height = 30;
  layout.minimise = {kWidth - 56, 5};
  layout.close = {kWidth - 30, 5};
  layout.minimise_name = L"Mini";
  chrome_.Create(hwnd(), layout);
  chrome_.on_close = [this] { ExitProgram(); };
  chrome_.on_minimise = [this] { ::ShowWindow(hwnd(), SW_MINIMIZE); };

  image_ = Make(kImage, L"Static", L"", WS_VISIBLE | SS_ICON, 10, 7, 16, 16);
  ::SendMessageW(image_, STM_SETICON, reinterpret_cast<WPARAM>(icon_), 0);
  label3_ = Make(kLabel3, L"Static", L"临时文件清理 - Tovrix", WS_VISIBLE, 32, 9, 300, 16,
                 title_font_);
  frame_ = Make(kFrame1, L"Button", L"请选择要清理的项目：",
                WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, 12, 38, 656, 52);
  for (int i = 0; i < kCategoryCount; ++i) {
    const bool shown = i < 5;
    checks_[i + 1] = Make(kCheckBase + i + 1, L"Button", CategoryInfo(i).caption,
                          (shown ? WS_VISIBLE : 0) | WS_TABSTOP | BS_AUTOCHECKBOX,
                          26 + (shown ? i : 0) * 128, 61, 124, 18);
  }
  // The option boxes are bare boxes; their labels stand beside them.
  checks_[8] = Make(kCheckBase + 8, L"Button", L"开机启动",
                    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 14, 413, 13, 14);
  label4_ = Make(kLabel4, L"Static", L"开机启动", WS_VISIBLE | SS_NOTIFY, 30, 413, 56, 16);
  checks_[7] = Make(kCheckBase + 7, L"Button", L"删除文件",
                    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 100, 413, 13, 14);
  label5_ = Make(kLabel5, L"Static", L"自动清理", WS_VISIBLE | SS_NOTIFY, 116, 413, 56, 16);

  search_ = Make(kSearch, L"Button", L"开始清理", WS_VISIBLE | WS_TABSTOP, 488, 406, 86, 26);
  stop_ = Make(kStop, L"Button", L"停止", WS_VISIBLE | WS_TABSTOP | WS_DISABLED, 582, 406, 86, 26);
  // Never shown; stands at cmdStop's place as the exit command.
  exit_ = Make(kExit, L"Button", L"退出(&C)", 0, 582, 406, 86, 26);
  target_ = Make(kTarget, L"Edit", L"", ES_AUTOHSCROLL, 0, 0, 10, 10);

  results_.Create(chrome_.picture(), kList, kStatus, RECT{12, 98, 668, 398}, font_);

  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd(),
                               nullptr, ::GetModuleHandleW(nullptr), nullptr);
  const struct {
    HWND label;
    const wchar_t* tip;
  } tips[] = {{label4_, L"开机自动启动"}, {label5_, L"启动软件后自动清理"}};
  for (const auto& t : tips) {
    TOOLINFOW info = {};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(t.label);
    info.lpszText = const_cast<wchar_t*>(t.tip);
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }

  // The background: RS on every movement, and a drag while exactly the left
  // button is held.
  common::SubclassControl(chrome_.picture(), [this](HWND, UINT message, WPARAM wparam,
                                                    LPARAM, LRESULT*) {
    if (message == WM_MOUSEMOVE) {
      chrome_.RS();
      if (look::DragOnMove(look::ButtonsOf(wparam))) look::DragWindow(hwnd());
    }
    return false;
  });
}

LRESULT TempCleanerWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1) logic_.Timer1_Timer();
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      HWND control = reinterpret_cast<HWND>(lparam);
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, control == label3_ ? RGB(255, 255, 255) : RGB(0, 0, 0));
      if (control == frame_) return reinterpret_cast<LRESULT>(chrome_.CaptionBrush(control));
      return reinterpret_cast<LRESULT>(chrome_.BackgroundBrush(control, dc));
    }
    case WM_CLOSE:
      logic_.Form_Unload();
      return 0;
    case WM_NCDESTROY:
      if (quit_on_destroy) ::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wparam, lparam);
}

void TempCleanerWindow::OnCommand(int id, int code, HWND control) {
  if (id > kCheckBase && id <= kCheckBase + 8 && code == BN_CLICKED) {
    logic_.CheckClicked(id - kCheckBase,
                        ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return;
  }
  switch (id) {
    case kLabel4:
      if (code == STN_CLICKED) logic_.Label4_Click();
      break;
    case kLabel5:
      if (code == STN_CLICKED) logic_.Label5_Click();
      break;
    case kSearch:
      if (code == BN_CLICKED) logic_.cmdSearch_Click();
      break;
    case kStop:
      if (code == BN_CLICKED) logic_.cmdStop_Click();
      break;
    case kExit:
      if (code == BN_CLICKED) logic_.cmdExit_Click();
      break;
    default:
      break;
  }
}

bool TempCleanerWindow::PreTranslateMessage(MSG& msg) {
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
    logic_.EscapePressed();
    return true;
  }
  return ::IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void TempCleanerWindow::SetCheck(int box, bool ticked) {
  ::SendMessageW(checks_[box], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TempCleanerWindow::SetEnabled(Control control, bool enabled) {
  HWND target = control == Control::kSearch ? search_
                : control == Control::kStop ? stop_
                : control == Control::kExit ? exit_
                                            : target_;
  ::EnableWindow(target, enabled);
}

void TempCleanerWindow::SetTargetText(const std::wstring& text) {
  ::SetWindowTextW(target_, text.c_str());
}

void TempCleanerWindow::EnableTimer1(bool enabled) {
  if (enabled) {
    ::SetTimer(hwnd(), kTimer1, TempCleaner::kTimer1Interval, nullptr);
  } else {
    ::KillTimer(hwnd(), kTimer1);
  }
}

void TempCleanerWindow::AttachSkins() { look::AttachSkin(hwnd()); }

void TempCleanerWindow::ExitProgram() {
  if (exit_action) exit_action();
}

common::MessageResult TempCleanerWindow::ShowMessage(const std::wstring& text,
                                                     const std::wstring& title,
                                                     common::MessageIcon icon,
                                                     common::MessageButtons buttons) {
  results_.FlushProgress();
  results_.ShowNewestRow();
  return engine::ShowEngineMessage(hwnd(), text, title, icon, buttons);
}

}  // namespace tempclean
