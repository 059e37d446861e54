// Which program file a command line starts, found the way the platform's
// process start finds it, but as a 64-bit program's start on 64-bit
// Windows would: for a 32-bit command box under WOW64, whose own lookups
// of the system folder land in SysWOW64, so that a tool kept only in
// System32 starts at all and a tool kept in both starts in its 64-bit form,
// as from the Start menu.
#ifndef COMMAND_BOX_PROGRAM_SEARCH_H_
#define COMMAND_BOX_PROGRAM_SEARCH_H_

#include <functional>
#include <string>
#include <vector>

namespace commandbox {

// Where the process start looks for a program that is named without a
// folder, in this order: the starting program's folder, the current folder
// (unless NoDefaultCurrentDirectoryInExePath is set), the system folder,
// the 16-bit system folder, the Windows folder, then PATH.
struct ProgramSearch {
  std::wstring program_folder;
  std::wstring current_folder;
  bool search_current_folder = true;
  std::wstring windows_folder;  // "C:\Windows"
  std::wstring path;            // PATH, folders separated by ";"
  // How this program reaches the native system folder (windows_folder +
  // "\System32"): through its alias ("C:\Windows\Sysnative", from Vista
  // on), or by that very name where the caller has the redirection off.
  std::wstring native_system_folder;
};

// SearchPath's rule: ".exe" goes on when the last part of the name has no
// ending of its own.
std::wstring WithProgramEnding(const std::wstring& name);

// A leading part of a command line, and where the line goes on after it.
struct ProgramCandidate {
  std::wstring name;
  size_t end;
};

// The leading parts of a command line that the process start tries as the
// program, in its order: a quoted first part alone; else, for an unquoted
// line, the text before each blank, then the whole line (for a path with
// blanks the shortest leading part that names a program file wins).
std::vector<ProgramCandidate> ProgramCandidates(const std::wstring& command_line);

// The program file that the command line starts on 64-bit Windows, or ""
// when no candidate names one. It is named so that this program reaches
// it: the system folder (windows_folder + "\System32", in any letter case,
// and what is below it) as native_system_folder. A name without an ending
// gets ".exe". `is_file` tells whether a path names a file (not a folder).
std::wstring FindNativeProgram(const std::wstring& command_line,
                               const ProgramSearch& search,
                               const std::function<bool(const std::wstring&)>& is_file);

// The program file as FindNativeProgram finds it, and the rest of the
// command line after the part that names it (blanks before it left out):
// what the program gets as its arguments.
struct NativeProgram {
  std::wstring program;
  std::wstring arguments;
};
NativeProgram LocateNativeProgram(const std::wstring& command_line,
                                  const ProgramSearch& search,
                                  const std::function<bool(const std::wstring&)>& is_file);

}  // namespace commandbox

#endif  // COMMAND_BOX_PROGRAM_SEARCH_H_
