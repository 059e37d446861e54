#include "command-box/host_platform_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <vector>

#include "command-box/program_search.h"
#include "common/owned_win.h"
#include "common/platform_win.h"
#include "common/window_win.h"
#include "common/wow64_win.h"

namespace commandbox {

NativeReach DefaultNativeReach() {
  if (!common::RunsUnderWow64())
    return NativeReach::kAsItIs;
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (::GetVersionExW(&version) && version.dwMajorVersion < 6)
    return NativeReach::kRedirectionOff;
  return NativeReach::kThroughAlias;
}

namespace {

constexpr wchar_t kAppPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

bool IsFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The default value of a key, expanded, without quotes; "" when none.
std::wstring DefaultValue(HKEY root, const std::wstring& key, REGSAM view) {
  bool expandable = false;
  std::wstring value = common::ReadRegistryText(root, key, nullptr, view, &expandable);
  if (expandable && !value.empty()) {
    std::vector<wchar_t> expanded(::ExpandEnvironmentStringsW(value.c_str(), nullptr, 0) + 1);
    if (::ExpandEnvironmentStringsW(value.c_str(), expanded.data(),
                                    static_cast<DWORD>(expanded.size())) > 0) {
      value = expanded.data();
    }
  }
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
    value = value.substr(1, value.size() - 2);
  return value;
}

// The error of the call just made, never 0 for a call that failed.
unsigned long LastError() {
  const DWORD error = ::GetLastError();
  return error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error;
}

}  // namespace

// Under WOW64 the platform's own search would look in SysWOW64 wherever it
// means System32: the command box finds the program as a 64-bit start
// finds it and starts that file, with the command line as typed. A line
// whose program it cannot find is started as it stands, so that the
// platform fails it (or finds it) in its own way.
unsigned long Win32HostPlatform::StartProcess(const std::wstring& command_line,
                                              ProcessHandle* process) {
  HANDLE* handle = reinterpret_cast<HANDLE*>(process);
  const std::wstring windows =
      reach_ == NativeReach::kAsItIs ? std::wstring() : common::SystemWindowsFolder();
  if (windows.empty()) {
    return common::StartCommandLine(command_line, common::StartWindow::kNormal, handle)
               ? kStartDone
               : LastError();
  }
  const bool redirection_off = reach_ == NativeReach::kRedirectionOff;
  const ProgramCall call = Locate(command_line);
  const std::wstring& found = call.program;
  if (found.empty() || call.by_app_paths) {
    return common::StartCommandLine(command_line, common::StartWindow::kNormal, handle)
               ? kStartDone
               : LastError();
  }
  if (redirection_off) {
    // The start may ask the compatibility database (apphelp.dll) about the
    // program; it is loaded beforehand, so that no DLL has to load while
    // the redirection is off. It stays loaded.
    static const HMODULE apphelp = ::LoadLibraryW(L"apphelp.dll");
    (void)apphelp;
  }
  common::NativeFileNames native(redirection_off);
  return common::StartProgramFile(found, command_line, common::StartWindow::kNormal, handle)
             ? kStartDone
             : LastError();
}

ProgramCall Win32HostPlatform::Locate(const std::wstring& command_line) {
  const bool as_it_is = reach_ == NativeReach::kAsItIs;
  const bool redirection_off = reach_ == NativeReach::kRedirectionOff;
  ProgramSearch search;
  search.program_folder = Program().folder;
  std::vector<wchar_t> current(::GetCurrentDirectoryW(0, nullptr) + 1, L'\0');
  current.resize(::GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
  search.current_folder.assign(current.begin(), current.end());
  // The variable counts when it exists, whatever its value.
  search.search_current_folder =
      ::GetEnvironmentVariableW(L"NoDefaultCurrentDirectoryInExePath", nullptr, 0) == 0;
  search.windows_folder = common::SystemWindowsFolder();
  search.path = common::GetEnvironmentText(L"PATH");
  search.native_system_folder =
      search.windows_folder + (as_it_is || redirection_off ? L"\\System32" : L"\\Sysnative");
  const NativeProgram found =
      LocateNativeProgram(command_line, search, [redirection_off](const std::wstring& path) {
        common::NativeFileNames native(redirection_off);
        return IsFile(path);
      });
  if (!found.program.empty())
    return {found.program, found.arguments, false};
  // The shell's App Paths key, in the native view of the registry: by the
  // name of the line's first part, as the Run box looks a name up.
  const std::wstring line =
      command_line.substr(command_line.find_first_not_of(L" \t") == std::wstring::npos
                              ? command_line.size()
                              : command_line.find_first_not_of(L" \t"));
  const size_t blank = line.find_first_of(L" \t");
  std::wstring name = line.substr(0, blank);
  if (name.empty() || name.find_first_of(L"\\/:\"") != std::wstring::npos)
    return {};
  if (name.find(L'.') == std::wstring::npos)
    name += L".exe";
  const REGSAM view = as_it_is ? 0 : KEY_WOW64_64KEY;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring program = DefaultValue(root, kAppPathsKey + name, view);
    if (program.empty())
      continue;
    common::NativeFileNames native(redirection_off);
    if (!IsFile(program))
      continue;
    std::wstring arguments;
    if (blank != std::wstring::npos) {
      const size_t rest = line.find_first_not_of(L" \t", blank);
      arguments = rest == std::wstring::npos ? L"" : line.substr(rest);
    }
    return {program, arguments, true};
  }
  return {};
}

bool Win32HostPlatform::SystemFileExists(const std::wstring& name) {
  const std::wstring windows = common::SystemWindowsFolder();
  if (windows.empty())
    return false;
  const bool redirection_off = reach_ == NativeReach::kRedirectionOff;
  common::NativeFileNames native(redirection_off);
  return IsFile(windows +
                (reach_ == NativeReach::kThroughAlias ? L"\\Sysnative\\" : L"\\System32\\") + name);
}

bool Win32HostPlatform::SchemeRegistered(const std::wstring& scheme) {
  common::OwnedKey key;
  if (scheme.empty() || ::RegOpenKeyExW(HKEY_CLASSES_ROOT, scheme.c_str(), 0, KEY_QUERY_VALUE,
                                        key.put()) != ERROR_SUCCESS)
    return false;
  return ::RegQueryValueExW(key.get(), L"URL Protocol", nullptr, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

WindowsVersion Win32HostPlatform::Version() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (!::GetVersionExW(&version))
    return {};
  return {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
}

bool Win32HostPlatform::Is64BitWindows() {
  return sizeof(void*) == 8 || common::RunsUnderWow64();
}

// COM is initialised as the shell asks of its callers (apartment-threaded,
// without OLE1's DDE), for this call; a thread that has COM already keeps
// its own. No error box of the shell's: the command box decides what the
// user is told.
unsigned long Win32HostPlatform::ShellStart(const std::wstring& file,
                                            const std::wstring& parameters,
                                            ProcessHandle* process) {
  if (process)
    *process = nullptr;
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.hwnd = owner_;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  const bool done = ::ShellExecuteExW(&info) != FALSE;
  const unsigned long answer = done ? kStartDone : LastError();
  if (SUCCEEDED(com))
    ::CoUninitialize();
  if (done && process)
    *process = info.hProcess;
  return answer;
}

bool Win32HostPlatform::StartCommandLine(const std::wstring& command_line) {
  return LaunchCommandLine(*this, command_line) != StartOutcome::kFailed;
}

bool Win32HostPlatform::StartThroughShell(const std::wstring& target) {
  return LaunchThroughShell(*this, target) != StartOutcome::kFailed;
}

bool Win32HostPlatform::StartCommandLineAndWait(const std::wstring& command_line,
                                                unsigned timeout_ms) {
  ProcessHandle process = nullptr;
  if (LaunchCommandLine(*this, command_line, &process) == StartOutcome::kFailed)
    return false;
  if (process)
    Wait(static_cast<HANDLE>(process), timeout_ms);
  return true;
}

void Win32HostPlatform::Wait(HANDLE process, unsigned timeout_ms) {
  const common::OwnedHandle held(process);
  const unsigned long long end = common::SteadyMilliseconds() + timeout_ms;
  while (true) {
    const unsigned long long now = common::SteadyMilliseconds();
    if (now >= end)
      break;
    const DWORD wait =
        ::MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    if (wait != WAIT_OBJECT_0 + 1)
      break;  // ended, timed out or failed
    common::Yield();
  }
}

bool Win32HostPlatform::FileExists(const std::wstring& path) {
  if (path.find_first_of(L"*?") != std::wstring::npos)
    return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32HostPlatform::RenameFile(const std::wstring& from, const std::wstring& to) {
  return ::MoveFileW(from.c_str(), to.c_str()) != FALSE;
}

bool Win32HostPlatform::WriteRunValue(const std::wstring& name, const std::wstring& data) {
  return common::WriteRunValue(name, data);
}

bool Win32HostPlatform::DeleteRunValue(const std::wstring& name) {
  return common::DeleteRunValue(name);
}

common::ProgramPath Win32HostPlatform::Program() {
  return common::CurrentProgramPath();
}

std::wstring Win32HostPlatform::WindowsFolder() {
  return common::WindowsFolderVariable();
}

}  // namespace commandbox
