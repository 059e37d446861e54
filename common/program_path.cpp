#include "common/program_path.h"

namespace common {

ProgramPath SplitProgramPath(std::wstring_view module_path) {
  ProgramPath result;
  const size_t slash = module_path.find_last_of(L"\\/");
  std::wstring_view folder =
      slash == std::wstring_view::npos ? std::wstring_view() : module_path.substr(0, slash);
  std::wstring_view file =
      slash == std::wstring_view::npos ? module_path : module_path.substr(slash + 1);
  result.folder = std::wstring(folder);
  // "C:" alone is the drive root "C:\".
  if (folder.size() == 2 && folder[1] == L':')
    result.folder += L'\\';
  const size_t dot = file.rfind(L'.');
  result.base_name = std::wstring(dot == std::wstring_view::npos ? file : file.substr(0, dot));
  return result;
}

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out(folder);
  if (out.empty() || (out.back() != L'\\' && out.back() != L'/'))
    out += L'\\';
  out += name;
  return out;
}

std::wstring RunValueData(const ProgramPath& program) {
  std::wstring data = program.folder;
  if (program.folder.size() != 3)
    data += L'\\';
  return data + program.base_name + L".Exe";
}

}  // namespace common
