#include "command-box/host_platform_win.h"

#include "common/window_win.h"

namespace commandbox {

bool Win32HostPlatform::StartCommandLine(const std::wstring& command_line) {
  return common::StartCommandLine(command_line);
}

bool Win32HostPlatform::StartCommandLineAndWait(const std::wstring& command_line,
                                                unsigned timeout_ms) {
  HANDLE process = nullptr;
  if (!common::StartCommandLine(command_line, common::StartWindow::kNormal, &process))
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
  return common::GetEnvironmentText(L"windir");
}

}  // namespace commandbox
