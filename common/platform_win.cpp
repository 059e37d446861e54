#include "common/platform_win.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "common/owned_win.h"
#include "common/wow64_win.h"

namespace common {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

std::wstring Win32Profile::GetString(const std::wstring& file,
                                     const std::wstring& section,
                                     const std::wstring& key,
                                     size_t buffer_chars) {
  if (buffer_chars == 0)
    return std::wstring();
  std::vector<wchar_t> buffer(buffer_chars, L'\0');
  const DWORD copied = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file.c_str());
  return std::wstring(buffer.data(), std::min<size_t>(copied, buffer.size()));
}

bool Win32Profile::WriteString(const std::wstring& file,
                               const std::wstring& section,
                               const std::wstring& key,
                               const std::wstring& value) {
  return ::WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
         FALSE;
}

std::wstring Win32VirtualStore::WindowsFolder() {
  return common::WindowsFolder();
}

// The shell is asked when the settings are first read, and not at the
// start: under Wine loading shell32 (and what it loads) is a good part of
// the time a program needs until its window shows.
std::wstring Win32VirtualStore::LocalAppData() {
  static std::wstring known;
  if (known.empty())
    known = ShellFolderPaths({CSIDL_LOCAL_APPDATA})[0];
  return known;
}

bool Win32VirtualStore::FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32VirtualStore::CopyToNewFile(const std::wstring& from, const std::wstring& to) {
  if (!::CopyFileW(from.c_str(), to.c_str(), TRUE))
    return false;
  // The copy takes the original's attributes; a read-only one could not
  // take the value that follows.
  const DWORD attributes = ::GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    ::SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return true;
}

bool Win32VirtualStore::MakeFolders(const std::wstring& path) {
  if (path.empty())
    return false;
  for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
    // Every folder above, from the first one below the drive root; one that
    // cannot be made shows in the answer below.
    if (at > 2 && path[at - 1] != L'\\')
      ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
  ::CreateDirectoryW(path.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string AnsiCodePage::Encode(std::wstring_view text) const {
  if (text.empty())
    return std::string();
  const int size = ::WideCharToMultiByte(code_page_, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (size <= 0)
    return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(code_page_, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::wstring AnsiCodePage::Decode(std::string_view bytes) const {
  if (bytes.empty())
    return std::wstring();
  const int size = ::MultiByteToWideChar(code_page_, 0, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0)
    return std::wstring();
  std::wstring out(static_cast<size_t>(size), L'\0');
  ::MultiByteToWideChar(code_page_, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                        size);
  return out;
}

std::wstring GetEnvironmentText(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0)
    return std::wstring();
  std::wstring value(size, L'\0');
  const DWORD copied = ::GetEnvironmentVariableW(name, value.data(), size);
  value.resize(copied < size ? copied : 0);
  return value;
}

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    // XP fills the buffer without a NUL and returns its size when cut.
    if (n < buffer.size() - 1)
      return std::wstring(buffer.data(), n);
    if (buffer.size() > 32768)
      return std::wstring(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

ProgramPath CurrentProgramPath() {
  return SplitProgramPath(ModulePath());
}

namespace {

bool StartProcess(const wchar_t* program,
                  const std::wstring& command_line,
                  StartWindow window,
                  HANDLE* process,
                  const std::wstring& working_folder) {
  if (process)
    *process = nullptr;
  // CreateProcessW may write into the command line buffer.
  std::vector<wchar_t> buffer(command_line.begin(), command_line.end());
  buffer.push_back(L'\0');
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = window == StartWindow::kHidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(program, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        working_folder.empty() ? nullptr : working_folder.c_str(), &startup,
                        &info)) {
    return false;
  }
  const OwnedHandle thread(info.hThread);
  OwnedHandle started(info.hProcess);
  if (process)
    *process = started.release();
  return true;
}

}  // namespace

bool StartCommandLine(const std::wstring& command_line,
                      StartWindow window,
                      HANDLE* process,
                      const std::wstring& working_folder) {
  return StartProcess(nullptr, command_line, window, process, working_folder);
}

bool StartProgramFile(const std::wstring& program,
                      const std::wstring& command_line,
                      StartWindow window,
                      HANDLE* process) {
  return StartProcess(program.c_str(), command_line, window, process, std::wstring());
}

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::vector<std::wstring> ShellFolderPaths(const std::vector<int>& csidls) {
  std::vector<std::wstring> folders(csidls.size());
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  HMODULE shell = ::LoadLibraryW(L"shell32.dll");
  if (!shell)
    return folders;
  const auto get_folder_path = reinterpret_cast<GetFolderPath>(
      reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetFolderPathW")));
  for (size_t i = 0; get_folder_path && i < csidls.size(); ++i) {
    wchar_t folder[MAX_PATH + 1] = {};
    if (SUCCEEDED(get_folder_path(nullptr, csidls[i], nullptr, SHGFP_TYPE_CURRENT, folder)))
      folders[i] = folder;
  }
  ::FreeLibrary(shell);
  return folders;
}

std::wstring ReadRegistryText(HKEY root,
                              const std::wstring& key_name,
                              const wchar_t* value,
                              REGSAM view,
                              bool* expandable) {
  if (expandable)
    *expandable = false;
  OwnedKey key;
  if (::RegOpenKeyExW(root, key_name.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) !=
      ERROR_SUCCESS)
    return std::wstring();
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key.get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
    return std::wstring();
  std::vector<wchar_t> data(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.get(), value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
    return std::wstring();
  if (expandable)
    *expandable = type == REG_EXPAND_SZ;
  return data.data();
}

bool WriteRunValue(const std::wstring& name, const std::wstring& data) {
  OwnedKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return ::RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool DeleteRunValue(const std::wstring& name) {
  OwnedKey key;
  const LONG open = ::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, key.put());
  if (open == ERROR_FILE_NOT_FOUND)
    return true;
  if (open != ERROR_SUCCESS)
    return false;
  const LONG result = ::RegDeleteValueW(key.get(), name.c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool ReadRunValue(const std::wstring& name, std::wstring* data) {
  OwnedKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0, size = 0;
  LONG result = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (result == ERROR_SUCCESS && type == REG_SZ) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    result = ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (result == ERROR_SUCCESS && data)
      *data = buffer.data();
  }
  return result == ERROR_SUCCESS && type == REG_SZ;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const OwnedHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file)
    return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags) {
  return ::MessageBoxW(owner, text.c_str(), title.c_str(), flags);
}

}  // namespace common
