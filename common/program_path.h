// Program folder and base name from the full path of the program file.
#ifndef COMMON_PROGRAM_PATH_H_
#define COMMON_PROGRAM_PATH_H_

#include <string>
#include <string_view>

namespace common {

struct ProgramPath {
  // The folder holding the program file, without a trailing backslash
  // unless it is a drive root ("C:\").
  std::wstring folder;
  // The file name without its extension.
  std::wstring base_name;
};

ProgramPath SplitProgramPath(std::wstring_view module_path);

// Folder + "\" + name, without a second separator where the folder ends in
// one (a drive root, "C:\Tools\", "C:/Tools/").
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);

// The path of the program as the start-up registry values hold it: folder,
// a backslash unless the folder text is three characters long (a drive
// root), base name and ".Exe".
std::wstring RunValueData(const ProgramPath& program);

}  // namespace common

#endif  // COMMON_PROGRAM_PATH_H_
