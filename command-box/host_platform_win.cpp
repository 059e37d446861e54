#include "command-box/host_platform_win.h"

#include <vector>

#include "command-box/program_search.h"
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

// Under WOW64 the platform's own search would look in SysWOW64 wherever it
// means System32: the command box finds the program as a 64-bit start
// finds it and starts that file, with the command line as typed. A line
// whose program it cannot find is given to the platform as typed, so that
// the platform fails it (or finds it) in its own way.
bool Win32HostPlatform::Start(const std::wstring& command_line, HANDLE* process) {
  const std::wstring windows =
      reach_ == NativeReach::kAsItIs ? std::wstring() : common::SystemWindowsFolder();
  if (windows.empty())
    return common::StartCommandLine(command_line, common::StartWindow::kNormal, process);
  const bool redirection_off = reach_ == NativeReach::kRedirectionOff;
  ProgramSearch search;
  search.program_folder = Program().folder;
  std::vector<wchar_t> current(::GetCurrentDirectoryW(0, nullptr) + 1, L'\0');
  current.resize(::GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
  search.current_folder.assign(current.begin(), current.end());
  // The variable counts when it exists, whatever its value.
  search.search_current_folder =
      ::GetEnvironmentVariableW(L"NoDefaultCurrentDirectoryInExePath", nullptr, 0) == 0;
  search.windows_folder = windows;
  search.path = common::GetEnvironmentText(L"PATH");
  search.native_system_folder = windows + (redirection_off ? L"\\System32" : L"\\Sysnative");
  const std::wstring program =
      FindNativeProgram(command_line, search, [redirection_off](const std::wstring& path) {
        common::NativeFileNames native(redirection_off);
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
      });
  if (program.empty())
    return common::StartCommandLine(command_line, common::StartWindow::kNormal, process);
  if (redirection_off) {
    // The start may ask the compatibility database (apphelp.dll) about the
    // program; it is loaded beforehand, so that no DLL has to load while
    // the redirection is off. It stays loaded.
    static const HMODULE apphelp = ::LoadLibraryW(L"apphelp.dll");
    (void)apphelp;
  }
  common::NativeFileNames native(redirection_off);
  return common::StartProgramFile(program, command_line, common::StartWindow::kNormal, process);
}

bool Win32HostPlatform::StartCommandLine(const std::wstring& command_line) {
  return Start(command_line, nullptr);
}

bool Win32HostPlatform::StartCommandLineAndWait(const std::wstring& command_line,
                                                unsigned timeout_ms) {
  HANDLE process = nullptr;
  if (!Start(command_line, &process))
    return false;
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
  ::CloseHandle(process);
  return true;
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
