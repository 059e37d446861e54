#include "temp-cleaner/temp_cleaner_window_win.h"

#include <shlobj.h>
#include <winioctl.h>

#include <cstring>

#include <iterator>
#include <vector>

#include "common/account_win.h"
#include "common/owned_win.h"
#include "common/wow64_win.h"
#include "window-look/skin_engine_win.h"

namespace tempclean {
namespace {

enum ControlId {
  kCheckBase = 200,  // Check1 .. Check8: 201 .. 208
  kLabel4 = 300,
  kLabel5,
  kFrame1,
};

constexpr UINT_PTR kTimer1 = 1;

}  // namespace

// ---- the system ---------------------------------------------------------------

bool Win32TempCleanerSystem::EnableDebugPrivilege() {
  return engine::EnableDebugPrivilege();
}

std::wstring Win32TempCleanerSystem::WindowsVersion() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info))
    return L"";
  return std::to_wstring(info.dwMajorVersion) + L"." + std::to_wstring(info.dwMinorVersion);
}

// "windir" as the platform sets it; where a program was started without
// it, the Windows folder itself, so that no list names "\Temp".
std::wstring Win32TempCleanerSystem::WindowsFolder() {
  return common::WindowsFolderVariable();
}

std::wstring Win32TempCleanerSystem::UserName() {
  wchar_t name[256] = {};
  DWORD size = 255;
  if (!::GetUserNameW(name, &size))
    return L"";
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

common::ProgramPath Win32TempCleanerSystem::Program() {
  return common::CurrentProgramPath();
}

bool Win32TempCleanerSystem::WriteScript(const std::wstring& path, const std::wstring& text) {
  return common::WriteFileBytes(path, common::AnsiCodePage().Encode(text));
}

// The command interpreter runs the script; it is named by COMSPEC as the
// platform sets it, "cmd.exe" otherwise.
bool Win32TempCleanerSystem::StartScriptHidden(const std::wstring& name,
                                               const std::wstring& folder) {
  std::wstring shell = common::GetEnvironmentText(L"COMSPEC");
  if (shell.empty())
    shell = L"cmd.exe";
  return common::StartCommandLine(shell + L" /c " + name, common::StartWindow::kHidden, nullptr,
                                  folder);
}

std::wstring Win32TempCleanerSystem::TempFolder() {
  return common::TempFolder();
}

namespace {

// The long form of a path whose folders exist ("C:\Users\ADMINI~1" is
// "C:\Users\Administrator"), without a trailing "\" unless it is a drive
// root; the path as it is otherwise.
std::wstring LongFolderPath(const std::wstring& path) {
  std::wstring result = path;
  const DWORD size = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size > 0) {
    std::vector<wchar_t> buffer(size + 1, L'\0');
    const DWORD length = ::GetLongPathNameW(path.c_str(), buffer.data(), size + 1);
    if (length > 0 && length <= size)
      result.assign(buffer.data(), length);
  }
  while (result.size() > 3 && result.back() == L'\\')
    result.pop_back();
  return result;
}

}  // namespace

UserFolders Win32TempCleanerSystem::ShellFolders() {
  UserFolders folders;
  const struct {
    int csidl;
    std::wstring* folder;
  } wanted[] = {
      {CSIDL_PROFILE, &folders.profile},
      {CSIDL_LOCAL_APPDATA, &folders.local_app_data},
      {CSIDL_APPDATA, &folders.app_data},
      {CSIDL_PERSONAL, &folders.documents},
      {CSIDL_DESKTOPDIRECTORY, &folders.desktop},
      {CSIDL_COOKIES, &folders.cookies},
      {CSIDL_RECENT, &folders.recent},
      {CSIDL_INTERNET_CACHE, &folders.internet_cache},
      {CSIDL_HISTORY, &folders.history},
      {CSIDL_COMMON_APPDATA, &folders.program_data},
  };
  std::vector<int> csidls;
  for (const auto& w : wanted)
    csidls.push_back(w.csidl);
  // A 32-bit program on 64-bit Windows is told "Program Files (x86)" for
  // both; the 64-bit programs' folder is then in ProgramW6432.
  csidls.push_back(CSIDL_PROGRAM_FILES);
  csidls.push_back(CSIDL_PROGRAM_FILESX86);
  const std::vector<std::wstring> found = common::ShellFolderPaths(csidls);
  for (size_t i = 0; i < std::size(wanted); ++i)
    if (!found[i].empty())
      *wanted[i].folder = LongFolderPath(found[i]);
  for (const std::wstring& program_files :
       {found[std::size(wanted)], found[std::size(wanted) + 1],
        common::GetEnvironmentText(L"ProgramW6432")})
    if (!program_files.empty())
      folders.program_files.push_back(LongFolderPath(program_files));
  const std::wstring temp = common::TempFolder();
  if (!temp.empty())
    folders.temp = LongFolderPath(temp);
  return folders;
}

std::wstring Win32TempCleanerSystem::UserSid() {
  return common::CurrentUserSid();
}

// shell32 stays loaded once it has emptied a bin: its function may leave
// work of its own (the shell's change notices) running in it.
bool Win32TempCleanerSystem::EmptyRecycleBin(const std::wstring& root) {
  using EmptyBin = HRESULT(WINAPI*)(HWND, LPCWSTR, DWORD);
  static HMODULE shell = ::LoadLibraryW(L"shell32.dll");
  const auto empty_bin = shell ? reinterpret_cast<EmptyBin>(reinterpret_cast<void*>(
                                     ::GetProcAddress(shell, "SHEmptyRecycleBinW")))
                               : nullptr;
  return empty_bin && SUCCEEDED(empty_bin(nullptr, root.c_str(),
                                          SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI |
                                              SHERB_NOSOUND));
}

uint64_t Win32TempCleanerSystem::RecycleBinBytes(const std::wstring& root) {
  using QueryBin = HRESULT(WINAPI*)(LPCWSTR, SHQUERYRBINFO*);
  static HMODULE shell = ::LoadLibraryW(L"shell32.dll");
  const auto query_bin = shell ? reinterpret_cast<QueryBin>(reinterpret_cast<void*>(
                                     ::GetProcAddress(shell, "SHQueryRecycleBinW")))
                               : nullptr;
  SHQUERYRBINFO info = {};
  info.cbSize = sizeof(info);
  if (!query_bin || FAILED(query_bin(root.c_str(), &info)) || info.i64Size < 0)
    return 0;
  return static_cast<uint64_t>(info.i64Size);
}

std::wstring Win32TempCleanerSystem::FullPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0)
    return L"";
  std::vector<wchar_t> buffer(size + 1, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), size + 1, buffer.data(), nullptr);
  if (length == 0 || length > size)
    return L"";
  return LongFolderPath(std::wstring(buffer.data(), length));
}

// Opened as a program opens a folder, links followed, so that every path to
// one folder gives the same answer; by the same long form of the path as
// the walk opens it. A file system that gives no file index
// (some network file systems answer 0 for every file) tells nothing.
std::optional<FolderIdentity> Win32TempCleanerSystem::Identity(const std::wstring& path) {
  const common::OwnedHandle folder(
      ::CreateFileW(engine::ExtendedPath(path).c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder)
    return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info = {};
  std::optional<FolderIdentity> identity;
  if (::GetFileInformationByHandle(folder.get(), &info) &&
      (info.nFileIndexHigh | info.nFileIndexLow) != 0)
    identity =
        FolderIdentity{info.dwVolumeSerialNumber,
                       (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
  return identity;
}

std::optional<std::string> Win32TempCleanerSystem::ReadSmallFile(const std::wstring& path,
                                                                 size_t max_bytes) {
  const common::OwnedHandle file(::CreateFileW(
      engine::ExtendedPath(path).c_str(), GENERIC_READ,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file)
    return std::nullopt;
  std::string bytes(max_bytes, '\0');
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(max_bytes), &read, nullptr))
    return std::nullopt;
  bytes.resize(read);
  return bytes;
}

// Chromium holds its "lockfile" open for writing, sharing only reading
// (and marked to be deleted when it closes, so a read that does not share
// deletion fails too); Firefox holds "parent.lock" with no sharing at all.
// Either refuses this open with a sharing violation while the browser runs.
// A lock that a browser left behind opens, and so is no sign of it. Any
// other refusal (say, access denied) may be a running browser too: the
// browser is then left alone.
bool Win32TempCleanerSystem::LockHeld(const std::wstring& path) {
  if (common::OwnedHandle(::CreateFileW(engine::ExtendedPath(path).c_str(),
                                        GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr))) {
    return false;
  }
  const DWORD error = ::GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

namespace {

// "\??\D:\x" or "\\?\D:\x" as "D:\x"; "" for anything else (a volume's
// name, a path of another form).
std::wstring DrivePath(std::wstring path) {
  if (path.size() > 4 &&
      (path.compare(0, 4, L"\\??\\") == 0 || path.compare(0, 4, L"\\\\?\\") == 0))
    path.erase(0, 4);
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  return drive ? path : std::wstring();
}

// The substitute name of a junction, from its reparse data.
std::wstring JunctionSubstitute(HANDLE link) {
  std::vector<BYTE> buffer(MAXIMUM_REPARSE_DATA_BUFFER_SIZE);
  DWORD returned = 0;
  if (!::DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer.data(),
                         static_cast<DWORD>(buffer.size()), &returned, nullptr) ||
      returned < 16) {
    return L"";
  }
  // REPARSE_DATA_BUFFER's mount point form: tag, length, reserved, then
  // the offsets and lengths of the two names and the path buffer.
  DWORD tag = 0;
  memcpy(&tag, buffer.data(), sizeof(tag));
  if (tag != IO_REPARSE_TAG_MOUNT_POINT)
    return L"";
  USHORT offset = 0, length = 0;
  memcpy(&offset, buffer.data() + 8, sizeof(offset));
  memcpy(&length, buffer.data() + 10, sizeof(length));
  const size_t start = 16 + offset;
  if (start + length > returned)
    return L"";
  std::wstring name(length / sizeof(wchar_t), L'\0');
  memcpy(name.data(), buffer.data() + start, length);
  return name;
}

}  // namespace

// A junction names its target in its reparse data. Where that cannot be
// read as one (Wine shows a Unix link with no reparse data of its own),
// the folder the path leads to is asked for its own name; from Vista on
// only, the function is looked up at run time.
std::optional<std::wstring> Win32TempCleanerSystem::LinkTarget(const std::wstring& path) {
  const std::wstring extended = engine::ExtendedPath(path);
  const DWORD attributes = ::GetFileAttributesW(extended.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
      !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  std::wstring target;
  {
    const common::OwnedHandle link(
        ::CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                      nullptr));
    if (!link)
      return std::nullopt;
    target = JunctionSubstitute(link.get());
  }
  if (target.empty()) {
    using FinalPath = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    const auto final_path = reinterpret_cast<FinalPath>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    const common::OwnedHandle folder(
        final_path ? ::CreateFileW(extended.c_str(), FILE_READ_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)
                   : INVALID_HANDLE_VALUE);
    if (!folder)
      return std::nullopt;
    std::vector<wchar_t> buffer(32768, L'\0');
    const DWORD length = final_path(folder.get(), buffer.data(), 32767, 0 /* VOLUME_NAME_DOS */);
    if (length == 0 || length >= 32767)
      return std::nullopt;
    target.assign(buffer.data(), length);
  }
  target = DrivePath(target);
  if (target.empty())
    return std::nullopt;
  return target;
}

unsigned Win32TempCleanerSystem::DriveType(const std::wstring& root) {
  return ::GetDriveTypeW(root.c_str());
}

// ---- the window -----------------------------------------------------------------

TempCleanerWindow::TempCleanerWindow(TempCleanerSystem& system)
    : logic_(*this, system, files_, drives_, processes_) {}

bool TempCleanerWindow::Open() {
  Frame frame;
  frame.title = L"临时文件清理 - Tovrix";
  frame.width = kWidth;
  frame.height = kHeight;
  frame.list = RECT{12, 98, kWidth - 12, 398};
  if (!CreateFrame(frame))
    return false;
  CreateControls();
  logic_.Form_Load();
  Show();
  ::SetFocus(cmdSearch());
  // The labels' tips are needed only when the pointer rests on them: their
  // window (a top-level one, some milliseconds to make under Wine) comes
  // once the window is on the screen.
  CreateTips();
  return true;
}

void TempCleanerWindow::CreateControls() {
  frame_ = Make(kFrame1, L"Button", L"请选择要清理的项目：",
                WS_VISIBLE | BS_GROUPBOX | WS_CLIPSIBLINGS, 12, 38, 656, 52);
  SetFrameBox(frame_);
  for (int i = 0; i < kCategoryCount; ++i) {
    const bool shown = i < 5;  // Check6 is there but never shown
    checks_[kRecycleBinBox + i] = Make(kCheckBase + kRecycleBinBox + i, L"Button", CategoryInfo(i).caption,
                          (shown ? WS_VISIBLE : 0) | WS_TABSTOP | BS_AUTOCHECKBOX,
                          26 + (shown ? i : 0) * 128, 61, 124, 18);
  }
  // The option boxes are bare boxes; their labels stand beside them.
  checks_[kAutoStartBox] = Make(kCheckBase + kAutoStartBox, L"Button", L"开机启动",
                    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 14, 413, 13, 14);
  label4_ = Make(kLabel4, L"Static", L"开机启动", WS_VISIBLE | SS_NOTIFY, 30, 413, 56, 16);
  checks_[kAutoCleanBox] = Make(kCheckBase + kAutoCleanBox, L"Button", L"删除文件",
                    WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 100, 413, 13, 14);
  label5_ = Make(kLabel5, L"Static", L"自动清理", WS_VISIBLE | SS_NOTIFY, 116, 413, 56, 16);
}

void TempCleanerWindow::CreateTips() {
  tooltip_ = common::CreateTooltip(hwnd());
  common::AddTip(tooltip_, hwnd(), label4_, L"开机自动启动");
  common::AddTip(tooltip_, hwnd(), label5_, L"启动软件后自动清理");
  // The browser boxes name what they clean on this machine, asked for when
  // the tip shows (a browser installed meanwhile is named too).
  for (int box : kBrowserTipBoxes)
    common::AddTip(tooltip_, hwnd(), checks_[box], LPSTR_TEXTCALLBACKW);
  // Long lists of browsers wrap.
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, common::TwipsToPixels(5000));
}

bool TempCleanerWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  if (message == WM_TIMER && wparam == kTimer1) {
    logic_.Timer1_Timer();
    *result = 0;
    return true;
  }
  if (message == WM_NOTIFY) {
    auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lparam);
    if (tip->hdr.hwndFrom == tooltip_ && tip->hdr.code == TTN_GETDISPINFOW) {
      for (int box : kBrowserTipBoxes) {
        if (tip->hdr.idFrom == reinterpret_cast<UINT_PTR>(checks_[box])) {
          tip_ = logic_.BoxTip(box);
          tip->lpszText = tip_.data();
        }
      }
      *result = 0;
      return true;
    }
  }
  return false;
}

void TempCleanerWindow::OnCommand(int id, int code, HWND control) {
  if (id > kCheckBase && id <= kCheckBase + kAutoStartBox && code == BN_CLICKED) {
    logic_.CheckClicked(id - kCheckBase, ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return;
  }
  switch (id) {
    case kLabel4:
      if (code == STN_CLICKED)
        logic_.Label4_Click();
      break;
    case kLabel5:
      if (code == STN_CLICKED)
        logic_.Label5_Click();
      break;
    case kSearchId:
      if (code == BN_CLICKED)
        logic_.cmdSearch_Click();
      break;
    case kStopId:
      if (code == BN_CLICKED)
        logic_.cmdStop_Click();
      break;
    case kExitId:
      if (code == BN_CLICKED)
        logic_.cmdExit_Click();
      break;
    default:
      break;
  }
}

void TempCleanerWindow::SetCheck(int box, bool ticked) {
  ::SendMessageW(checks_[box], BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TempCleanerWindow::SetTargetText(const std::wstring& text) {
  ::SetWindowTextW(textPath(), text.c_str());
}

void TempCleanerWindow::EnableTimer1(bool enabled) {
  if (enabled) {
    ::SetTimer(hwnd(), kTimer1, TempCleaner::kTimer1Interval, nullptr);
  } else {
    ::KillTimer(hwnd(), kTimer1);
  }
}

void TempCleanerWindow::AttachSkins() {
  look::AttachSkin(hwnd());
}

}  // namespace tempclean
