// The installed programs as Windows keeps them: the shell's Start menu and
// Desktop folders, shortcuts read through IShellLinkW, desktop.ini files,
// App Paths; programs started through the shell with the box as owner.
#ifndef COMMAND_BOX_INSTALLED_PROGRAMS_WIN_H_
#define COMMAND_BOX_INSTALLED_PROGRAMS_WIN_H_

#include <windows.h>

#include <functional>

#include "command-box/installed_programs.h"

namespace commandbox {

class Win32InstalledPrograms : public InstalledProgramsPort {
 public:
  // `owner` names the command box (the owner of the shell's windows and
  // the place of the menu) when it is asked.
  explicit Win32InstalledPrograms(std::function<HWND()> owner) : owner_(std::move(owner)) {}

  std::vector<ProgramFolder> Folders() override;
  std::vector<std::wstring> StartupFolders() override;
  std::vector<FolderEntry> List(const std::wstring& folder) override;
  std::vector<std::pair<std::wstring, std::wstring>> LocalizedNames(
      const std::wstring& folder) override;
  std::wstring LoadIndirectString(const std::wstring& reference) override;
  ShortcutTarget ReadShortcut(const std::wstring& path) override;
  bool Exists(const std::wstring& path) override;
  std::vector<AppPathEntry> AppPaths() override;
  bool OpenShortcut(const std::wstring& path) override;
  bool OpenAppPath(const std::wstring& key) override;
  std::optional<size_t> Choose(const std::vector<std::wstring>& lines) override;

 private:
  std::function<HWND()> owner_;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_INSTALLED_PROGRAMS_WIN_H_
