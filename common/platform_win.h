// Thin wrappers over the Win32 calls every program needs: settings files,
// code page, environment, program path, process start, the per-user Run
// key, message boxes.
#ifndef COMMON_PLATFORM_WIN_H_
#define COMMON_PLATFORM_WIN_H_

#include <string>
#include <string_view>
#include <vector>

#include "common/code_page.h"
#include "common/program_path.h"
#include "common/settings.h"
#include "common/virtual_store.h"
#include "common/win32_win.h"

namespace common {

// GetPrivateProfileStringW / WritePrivateProfileStringW. For a file without
// a byte-order mark the platform writes the ANSI code page, as the older
// programs did.
class Win32Profile : public ProfilePort {
 public:
  std::wstring GetString(const std::wstring& file,
                         const std::wstring& section,
                         const std::wstring& key,
                         size_t buffer_chars) override;
  bool WriteString(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key,
                   const std::wstring& value) override;
};

// The folders and files the per-user placement of settings files needs
// (virtual_store.h). The local application data folder comes from the
// shell (CSIDL_LOCAL_APPDATA), which XP has too; the environment variable
// LOCALAPPDATA exists only from Vista on. 32-bit and 64-bit programs get
// the same folder, so both builds share one copy.
class Win32VirtualStore : public VirtualStorePort {
 public:
  std::wstring WindowsFolder() override;
  std::wstring LocalAppData() override;
  bool FileExists(const std::wstring& path) override;
  bool CopyToNewFile(const std::wstring& from, const std::wstring& to) override;
  bool MakeFolders(const std::wstring& path) override;
};

// The profile functions as the programs use them for their settings files:
// in the Windows folder where it can be written, else in the user's
// per-user copy of it (virtual_store.h).
class Win32SettingsProfile : public ProfilePort {
 public:
  Win32SettingsProfile() : placed_(files_, store_) {}
  std::wstring GetString(const std::wstring& file,
                         const std::wstring& section,
                         const std::wstring& key,
                         size_t buffer_chars) override {
    return placed_.GetString(file, section, key, buffer_chars);
  }
  bool WriteString(const std::wstring& file,
                   const std::wstring& section,
                   const std::wstring& key,
                   const std::wstring& value) override {
    return placed_.WriteString(file, section, key, value);
  }
  // Where the per-user copy of a settings file is, or would be.
  std::wstring CopyOf(const std::wstring& file) { return placed_.CopyOf(file); }

 private:
  Win32Profile files_;
  Win32VirtualStore store_;
  VirtualStoreProfile placed_;
};

// The system's ANSI code page (936 on Simplified Chinese Windows).
class AnsiCodePage : public CodePage {
 public:
  explicit AnsiCodePage(unsigned code_page = CP_ACP) : code_page_(code_page) {}
  std::string Encode(std::wstring_view text) const override;
  std::wstring Decode(std::string_view bytes) const override;

 private:
  unsigned code_page_;
};

// The value of an environment variable, "" when it is not set.
std::wstring GetEnvironmentText(const wchar_t* name);

// Full path of the running program file, and its folder and base name.
std::wstring ModulePath();
ProgramPath CurrentProgramPath();

// How a started program's main window is shown.
enum class StartWindow { kNormal, kHidden };

// Starts a process from an unquoted command line (no application name, so
// the platform's own search rules decide which program runs), without
// waiting. With `process` given, the caller gets the process handle and
// must close it; otherwise it is closed here. The process works in
// `working_folder`, or in ours when that is empty. Returns false when the
// platform could not start it.
bool StartCommandLine(const std::wstring& command_line,
                      StartWindow window = StartWindow::kNormal,
                      HANDLE* process = nullptr,
                      const std::wstring& working_folder = std::wstring());

// As StartCommandLine, but `program` is the program file that runs (the
// platform's search is not asked); it gets `command_line` as its command
// line, as it would have got it from StartCommandLine.
bool StartProgramFile(const std::wstring& program,
                      const std::wstring& command_line,
                      StartWindow window = StartWindow::kNormal,
                      HANDLE* process = nullptr);

// The user's folder for temporary files (GetTempPathW), "" when unknown.
std::wstring TempFolder();

// The shell's folders (SHGetFolderPathW, which XP has too) for the CSIDL_
// values asked, in their order; "" for one the shell cannot name. shell32
// is loaded for the moment and released again: under Wine it is slow to
// load, and it holds some 1 MB of memory with shlwapi and shcore, which it
// brings. A program that links it (Tovrix) keeps it loaded all the same.
std::vector<std::wstring> ShellFolderPaths(const std::vector<int>& csidls);

// The text of a registry value (REG_SZ or REG_EXPAND_SZ, as stored, not
// expanded) of `key` below `root`, opened with `view` (KEY_WOW64_64KEY,
// KEY_WOW64_32KEY or 0); `value` null for the key's default value. "" when
// the key or the value is missing or holds no text; `expandable`, where
// given, tells whether it is REG_EXPAND_SZ.
std::wstring ReadRegistryText(HKEY root,
                              const std::wstring& key,
                              const wchar_t* value,
                              REGSAM view,
                              bool* expandable = nullptr);

// The per-user Run key: HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
// Values are REG_SZ. Deleting a value that does not exist counts as done.
bool WriteRunValue(const std::wstring& name, const std::wstring& data);
bool DeleteRunValue(const std::wstring& name);
bool ReadRunValue(const std::wstring& name, std::wstring* data);

// Writes bytes to a file, replacing it; false when it cannot be written in
// full.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// MessageBoxW with the given flags; returns the button chosen.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags);

}  // namespace common

#endif  // COMMON_PLATFORM_WIN_H_
