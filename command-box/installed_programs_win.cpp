#include "command-box/installed_programs_win.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "common/owned_win.h"
#include "common/platform_win.h"
#include "common/text_rules.h"
#include "common/wow64_win.h"

namespace commandbox {
namespace {

constexpr wchar_t kAppPaths[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

std::wstring Expand(const std::wstring& text) {
  const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0)
    return text;
  std::wstring expanded(size, L'\0');
  expanded.resize(::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size));
  while (!expanded.empty() && expanded.back() == L'\0')
    expanded.pop_back();
  return expanded;
}

// Under WOW64, %ProgramFiles% and %CommonProgramFiles% name the 32-bit
// folders; a shortcut written by 64-bit Windows means the 64-bit ones.
std::wstring ExpandAsNative(std::wstring text) {
  if (common::RunsUnderWow64()) {
    for (const auto& [name, native] :
         {std::pair{L"%programfiles%", L"%ProgramW6432%"},
          std::pair{L"%commonprogramfiles%", L"%CommonProgramW6432%"}}) {
      const std::wstring lower = common::ToLowerAscii(text);
      const size_t at = lower.find(name);
      if (at != std::wstring::npos && !common::GetEnvironmentText(native + 1).empty())
        text.replace(at, std::wcslen(name), native);
    }
  }
  return Expand(text);
}

// Where a 32-bit program under WOW64 reaches a file of the native system
// folder: through the alias Sysnative (Vista and later). "" for a path
// outside it, or outside WOW64.
std::wstring ThroughSysnative(const std::wstring& path) {
  if (!common::RunsUnderWow64())
    return L"";
  const std::wstring system = common::SystemWindowsFolder() + L"\\System32\\";
  if (system.size() < 11 ||
      common::ToLowerAscii(path.substr(0, system.size())) != common::ToLowerAscii(system))
    return L"";
  return common::SystemWindowsFolder() + L"\\Sysnative\\" + path.substr(system.size());
}

bool Attributes(const std::wstring& path, DWORD* attributes) {
  common::NativeFileNames native;
  *attributes = ::GetFileAttributesW(path.c_str());
  return *attributes != INVALID_FILE_ATTRIBUTES;
}

// COM for the calls of one look-up, in the thread's apartment as it is.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(::CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialized_)
      ::CoUninitialize();
  }

 private:
  bool initialized_;
};

template <typename T>
void Release(T*& object) {
  if (object)
    object->Release();
  object = nullptr;
}

struct Shortcut {
  bool read = false;
  std::wstring raw_path, path, arguments, folder;
  int show = SW_SHOWNORMAL;
};

Shortcut LoadShortcut(const std::wstring& file) {
  Shortcut shortcut;
  ComScope com;
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
    shortcut.read = true;
    wchar_t text[INFOTIPSIZE] = {};
    if (link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH) == S_OK)
      shortcut.raw_path = text;
    text[0] = L'\0';
    if (link->GetPath(text, MAX_PATH, nullptr, 0) == S_OK)
      shortcut.path = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE)))
      shortcut.arguments = text;
    text[0] = L'\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
      shortcut.folder = text;
    int show = SW_SHOWNORMAL;
    if (SUCCEEDED(link->GetShowCmd(&show)))
      shortcut.show = show;
  }
  Release(persist);
  Release(link);
  return shortcut;
}

// The path of a shortcut's target as a 64-bit program sees it.
std::wstring NativeTarget(const Shortcut& shortcut) {
  if (shortcut.raw_path.empty())
    return shortcut.path;
  const std::wstring native = ExpandAsNative(shortcut.raw_path);
  DWORD attributes;
  if (!Attributes(native, &attributes) && !shortcut.path.empty())
    return shortcut.path;
  return native;
}

bool ShellOpen(HWND owner,
               const std::wstring& file,
               const std::wstring& parameters,
               const std::wstring& folder,
               int show) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  // The elevation prompt shows, the shell's error messages do not (the box
  // signals a failed start itself); the start is done when the call
  // returns.
  info.fMask = SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpFile = file.c_str();
  info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = show;
  ComScope com;
  return ::ShellExecuteExW(&info) != FALSE;
}

common::OwnedKey OpenKey(HKEY root, const std::wstring& path) {
  common::OwnedKey key;
  ::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, key.put());
  return key;
}

// The key's default value in the 64-bit view, expanded as the 64-bit
// shell expands it.
std::wstring DefaultValue(HKEY root, const std::wstring& path) {
  bool expandable = false;
  const std::wstring value =
      common::ReadRegistryText(root, path, nullptr, KEY_WOW64_64KEY, &expandable);
  return expandable ? ExpandAsNative(value) : value;
}

bool FromWindows7() {
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  return ::GetVersionExW(&version) && (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 &&
                                                                      version.dwMinorVersion >= 1));
}

std::wstring AppPathTarget(const std::wstring& key_name) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    if (root == HKEY_CURRENT_USER && !FromWindows7())
      continue;
    std::wstring target = DefaultValue(root, std::wstring(kAppPaths) + L"\\" + key_name);
    if (target.size() >= 2 && target.front() == L'"' && target.back() == L'"')
      target = target.substr(1, target.size() - 2);
    if (!target.empty())
      return target;
  }
  return L"";
}

}  // namespace

std::vector<ProgramFolder> Win32InstalledPrograms::Folders() {
  const std::vector<std::wstring> paths =
      common::ShellFolderPaths({CSIDL_STARTMENU, CSIDL_COMMON_STARTMENU, CSIDL_DESKTOPDIRECTORY,
                                CSIDL_COMMON_DESKTOPDIRECTORY});
  std::vector<ProgramFolder> folders;
  for (size_t i = 0; i < paths.size(); ++i) {
    // The same folder twice (a Desktop that is the public one) is walked once.
    bool seen = paths[i].empty();
    for (const ProgramFolder& folder : folders)
      seen = seen || common::ToLowerAscii(folder.path) == common::ToLowerAscii(paths[i]);
    if (!seen)
      folders.push_back({paths[i], i < 2});
  }
  return folders;
}

std::vector<std::wstring> Win32InstalledPrograms::StartupFolders() {
  return common::ShellFolderPaths(
      {CSIDL_STARTUP, CSIDL_COMMON_STARTUP, CSIDL_ALTSTARTUP, CSIDL_COMMON_ALTSTARTUP});
}

std::vector<FolderEntry> Win32InstalledPrograms::List(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW data;
  const common::OwnedFind find(::FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find)
    return entries;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (::FindNextFileW(find.get(), &data));
  return entries;
}

std::vector<std::pair<std::wstring, std::wstring>> Win32InstalledPrograms::LocalizedNames(
    const std::wstring& folder) {
  // The profile functions read the UTF-16 file Windows writes as well as
  // an ANSI one.
  const std::wstring ini = folder + L"\\desktop.ini";
  std::wstring section(32767, L'\0');
  const DWORD length = ::GetPrivateProfileSectionW(L"LocalizedFileNames", section.data(),
                                                   static_cast<DWORD>(section.size()), ini.c_str());
  std::vector<std::pair<std::wstring, std::wstring>> names;
  for (size_t at = 0; at < length;) {
    const size_t end = section.find(L'\0', at);
    const std::wstring line = section.substr(at, end - at);
    at = end + 1;
    const size_t equals = line.find(L'=');
    if (equals != std::wstring::npos)
      names.push_back({common::TrimBlanks(line.substr(0, equals)),
                       common::TrimBlanks(line.substr(equals + 1))});
  }
  return names;
}

// "@file,-id": the string resource `id` of the file, which is loaded as
// data only; the variables in its path are expanded first, as Windows
// does.
std::wstring Win32InstalledPrograms::LoadIndirectString(const std::wstring& reference) {
  const size_t comma = reference.rfind(L',');
  if (reference.size() < 2 || reference[0] != L'@' || comma == std::wstring::npos)
    return L"";
  std::wstring id_text = reference.substr(comma + 1);
  id_text = id_text.substr(0, id_text.find(L';'));  // ";v2" and the like
  if (id_text.size() < 2 || id_text[0] != L'-')
    return L"";
  const auto id = common::ParseNumber(id_text.substr(1));
  if (!id || *id < 0 || *id > 65535)
    return L"";
  const std::wstring file = Expand(reference.substr(1, comma - 1));
  const HMODULE module = ::LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module)
    return L"";
  wchar_t text[512] = {};
  const int length = ::LoadStringW(module, static_cast<UINT>(*id), text, 512);
  ::FreeLibrary(module);
  return std::wstring(text, length > 0 ? length : 0);
}

ShortcutTarget Win32InstalledPrograms::ReadShortcut(const std::wstring& path) {
  const Shortcut shortcut = LoadShortcut(path);
  return {shortcut.read, NativeTarget(shortcut), shortcut.arguments};
}

bool Win32InstalledPrograms::Exists(const std::wstring& path) {
  DWORD attributes;
  return Attributes(path, &attributes);
}

std::vector<AppPathEntry> Win32InstalledPrograms::AppPaths() {
  std::vector<AppPathEntry> entries;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    if (root == HKEY_CURRENT_USER && !FromWindows7())
      continue;
    const common::OwnedKey key = OpenKey(root, kAppPaths);
    if (!key)
      continue;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
      DWORD size = 256;
      if (::RegEnumKeyExW(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      entries.push_back({name, DefaultValue(root, std::wstring(kAppPaths) + L"\\" + name)});
    }
  }
  return entries;
}

bool Win32InstalledPrograms::OpenShortcut(const std::wstring& path) {
  // Under WOW64 the 32-bit shell would look for a target in the system
  // folder in SysWOW64, where many of Windows' own programs (the Snipping
  // Tool) are not: such a target is started through the alias, with the
  // shortcut's arguments, folder and window state.
  const Shortcut shortcut = LoadShortcut(path);
  const std::wstring target = NativeTarget(shortcut);
  const std::wstring native = ThroughSysnative(target);
  if (!native.empty()) {
    DWORD attributes;
    if (Attributes(native, &attributes))
      return ShellOpen(owner_(), native, shortcut.arguments, Expand(shortcut.folder),
                       shortcut.show);
  }
  return ShellOpen(owner_(), path, L"", L"", SW_SHOWNORMAL);
}

bool Win32InstalledPrograms::OpenAppPath(const std::wstring& key) {
  // A 32-bit shell reads the 32-bit view of App Paths: under WOW64 the
  // program is named by the path the 64-bit view gives.
  if (common::RunsUnderWow64()) {
    const std::wstring target = AppPathTarget(key);
    if (!target.empty())
      return ShellOpen(owner_(), target, L"", L"", SW_SHOWNORMAL);
  }
  if (ShellOpen(owner_(), key, L"", L"", SW_SHOWNORMAL))
    return true;
  // A shell that does not read the key (HKCU's before Windows 7, Wine's)
  // gets the program by its path.
  const std::wstring target = AppPathTarget(key);
  return !target.empty() && ShellOpen(owner_(), target, L"", L"", SW_SHOWNORMAL);
}

std::optional<size_t> Win32InstalledPrograms::Choose(const std::vector<std::wstring>& lines) {
  const HWND owner = owner_();
  HMENU menu = ::CreatePopupMenu();
  if (!menu)
    return std::nullopt;
  for (size_t i = 0; i < lines.size(); ++i)
    ::AppendMenuW(menu, MF_STRING, i + 1, lines[i].c_str());
  RECT box = {};
  ::GetWindowRect(owner, &box);
  // The menu opens under the box, with its first line selected: Enter
  // takes it, Esc closes the menu.
  ::SetForegroundWindow(owner);
  ::PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
  const UINT chosen =
      ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                         box.left, box.bottom, owner, nullptr);
  ::DestroyMenu(menu);
  if (chosen == 0)
    return std::nullopt;
  return chosen - 1;
}

}  // namespace commandbox
