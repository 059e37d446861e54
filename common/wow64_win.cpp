#include "common/wow64_win.h"

#include "common/platform_win.h"
#include "common/win32_win.h"

namespace common {
namespace {

using DisableRedirection = BOOL(WINAPI*)(PVOID*);
using RevertRedirection = BOOL(WINAPI*)(PVOID);

struct RedirectionCalls {
  DisableRedirection disable = nullptr;
  RevertRedirection revert = nullptr;
};

const RedirectionCalls& Redirection() {
  static const RedirectionCalls calls = [] {
    RedirectionCalls c;
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    c.disable = reinterpret_cast<DisableRedirection>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
    c.revert = reinterpret_cast<RevertRedirection>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    if (!c.disable || !c.revert)
      c = RedirectionCalls();
    return c;
  }();
  return calls;
}

}  // namespace

bool RunsUnderWow64() {
#ifdef _WIN64
  return false;
#else
  static const bool under_wow64 = [] {
    using IsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
    const auto is_wow64 = reinterpret_cast<IsWow64Process>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return is_wow64 && is_wow64(::GetCurrentProcess(), &wow64) && wow64;
  }();
  return under_wow64;
#endif
}

NativeFileNames::NativeFileNames(bool wanted) {
  if (wanted && RunsUnderWow64() && Redirection().disable)
    off_ = Redirection().disable(&previous_) != FALSE;
}

NativeFileNames::~NativeFileNames() {
  if (off_)
    Redirection().revert(previous_);
}

std::wstring WindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::wstring WindowsFolderVariable() {
  const std::wstring folder = GetEnvironmentText(L"windir");
  return folder.empty() ? WindowsFolder() : folder;
}

std::wstring SystemWindowsFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return std::wstring();
  std::wstring result(folder, length);
  if (result.size() > 3 && result.back() == L'\\')
    result.pop_back();
  return result;
}

}  // namespace common
