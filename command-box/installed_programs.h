// The programs the user installed, found by the name the Start menu shows
// them by or by its pinyin: the shortcuts of the user's and the all-users
// Start menu and Desktop, and the programs of App Paths. Nothing is read
// in advance: every look-up walks the folders again, and only the shortcuts
// whose name answers are opened.
#ifndef COMMAND_BOX_INSTALLED_PROGRAMS_H_
#define COMMAND_BOX_INSTALLED_PROGRAMS_H_

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace commandbox {

// A folder of shortcuts; the Start menus come before the Desktops, so that
// of a program found in both the Start menu's shortcut is the one kept.
struct ProgramFolder {
  std::wstring path;
  bool start_menu = false;
};

struct FolderEntry {
  std::wstring name;
  bool folder = false;
  // A link, junction or other reparse point: never followed.
  bool reparse_point = false;
};

// What a shortcut starts. `target` is empty for a shortcut without a plain
// target (Windows Installer's advertised shortcuts, shell items).
struct ShortcutTarget {
  bool read = false;
  std::wstring target;
  std::wstring arguments;
};

// A key of App Paths: its name ("acmeedit.exe") and its default value.
struct AppPathEntry {
  std::wstring key;
  std::wstring target;
};

class InstalledProgramsPort {
 public:
  virtual ~InstalledProgramsPort() = default;
  // The user's and the all-users Start menu, then the user's and the
  // public Desktop, as the shell names them now; a folder the system does
  // not have is left out.
  virtual std::vector<ProgramFolder> Folders() = 0;
  // The user's and the all-users Startup folders: never walked.
  virtual std::vector<std::wstring> StartupFolders() = 0;
  virtual std::vector<FolderEntry> List(const std::wstring& folder) = 0;
  // The entries of [LocalizedFileNames] in the folder's desktop.ini: file
  // name and value as written ("@%SystemRoot%\system32\x.dll,-101" or a
  // plain name).
  virtual std::vector<std::pair<std::wstring, std::wstring>> LocalizedNames(
      const std::wstring& folder) = 0;
  // The text an "@file,-id" reference names, its variables expanded first;
  // "" when it cannot be had.
  virtual std::wstring LoadIndirectString(const std::wstring& reference) = 0;
  virtual ShortcutTarget ReadShortcut(const std::wstring& path) = 0;
  // A file or folder of that name exists.
  virtual bool Exists(const std::wstring& path) = 0;
  // HKLM's App Paths, and HKCU's where the system has them (7 and later).
  virtual std::vector<AppPathEntry> AppPaths() = 0;
  // Opens the shortcut through the shell, the command box as owner.
  virtual bool OpenShortcut(const std::wstring& path) = 0;
  // Starts an App Paths program through the shell by its key's name.
  virtual bool OpenAppPath(const std::wstring& key) = 0;
  // A small menu at the command box with one line per program; the line
  // chosen, or nothing when the user closed it (Esc).
  virtual std::optional<size_t> Choose(const std::vector<std::wstring>& lines) = 0;
};

struct FoundProgram {
  std::wstring name;      // the name that answered
  std::wstring folder;    // where it was found
  std::wstring shortcut;  // the shortcut's path, or
  std::wstring app_path;  // the App Paths key's name
};

// Every program that `typed` names, each once: a shortcut whose file name
// without ".lnk" or whose localized name equals the whole input (ASCII
// letters without regard to case), or, for an input of ASCII characters
// only, a name with Chinese characters whose pinyin it is (help and
// uninstall entries excepted); an App Paths key whose name without ".exe"
// equals it. A shortcut whose target is missing is passed over; the same
// target with the same arguments is one program.
std::vector<FoundProgram> FindInstalledPrograms(InstalledProgramsPort& port,
                                                const std::wstring& typed);

enum class ProgramStart {
  kNone,  // no program answered, or the user closed the menu
  kStarted,
  kFailed,  // the shell could not start the one chosen
};

// Starts the program that `typed` names: the only one found, or the one
// the user chooses in the menu when several answer.
ProgramStart StartInstalledProgram(InstalledProgramsPort& port, const std::wstring& typed);

}  // namespace commandbox

#endif  // COMMAND_BOX_INSTALLED_PROGRAMS_H_
