#include "command-box/program_search.h"

#include "common/program_path.h"
#include "common/text_rules.h"

namespace commandbox {
namespace {

using common::IsBlank;

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// `path` with the system folder (and anything below it) named as this
// program reaches it natively; "System32x" is not the system folder.
std::wstring NativePath(const std::wstring& path, const ProgramSearch& search) {
  const std::wstring system = search.windows_folder + L"\\System32";
  if (path.size() < system.size() ||
      common::ToLowerAscii(path.substr(0, system.size())) != common::ToLowerAscii(system)) {
    return path;
  }
  if (path.size() > system.size() && !IsSeparator(path[system.size()]))
    return path;
  return search.native_system_folder + path.substr(system.size());
}

}  // namespace

std::wstring WithProgramEnding(const std::wstring& name) {
  const size_t last_separator = name.find_last_of(L"\\/");
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && (last_separator == std::wstring::npos || dot > last_separator))
    return name;
  return name + L".exe";
}

std::vector<ProgramCandidate> ProgramCandidates(const std::wstring& command_line) {
  std::vector<ProgramCandidate> candidates;
  size_t start = 0;
  while (start < command_line.size() && IsBlank(command_line[start]))
    ++start;
  if (start < command_line.size() && command_line[start] == L'"') {
    const size_t end = command_line.find(L'"', start + 1);
    const std::wstring quoted = command_line.substr(
        start + 1, end == std::wstring::npos ? std::wstring::npos : end - start - 1);
    if (!quoted.empty())
      candidates.push_back({quoted, end == std::wstring::npos ? command_line.size() : end + 1});
    return candidates;
  }
  for (size_t at = start; at <= command_line.size(); ++at) {
    if (at < command_line.size() && !IsBlank(command_line[at]))
      continue;
    // Blanks that follow a blank add nothing new.
    if (at > start && !IsBlank(command_line[at - 1]))
      candidates.push_back({command_line.substr(start, at - start), at});
  }
  return candidates;
}

std::wstring FindNativeProgram(const std::wstring& command_line,
                               const ProgramSearch& search,
                               const std::function<bool(const std::wstring&)>& is_file) {
  return LocateNativeProgram(command_line, search, is_file).program;
}

NativeProgram LocateNativeProgram(const std::wstring& command_line,
                                  const ProgramSearch& search,
                                  const std::function<bool(const std::wstring&)>& is_file) {
  if (search.windows_folder.empty())
    return {};
  std::vector<std::wstring> folders = {search.program_folder};
  if (search.search_current_folder)
    folders.push_back(search.current_folder);
  folders.push_back(search.windows_folder + L"\\System32");
  folders.push_back(search.windows_folder + L"\\System");
  folders.push_back(search.windows_folder);
  for (size_t start = 0; start <= search.path.size();) {
    size_t end = search.path.find(L';', start);
    if (end == std::wstring::npos)
      end = search.path.size();
    if (end > start)
      folders.push_back(search.path.substr(start, end - start));
    start = end + 1;
  }

  for (const ProgramCandidate& candidate : ProgramCandidates(command_line)) {
    size_t rest = candidate.end;
    while (rest < command_line.size() && IsBlank(command_line[rest]))
      ++rest;
    const std::wstring arguments = command_line.substr(rest);
    const std::wstring name = WithProgramEnding(candidate.name);
    // A name with a folder in it is looked for there only.
    if (name.find_first_of(L"\\/:") != std::wstring::npos) {
      const std::wstring native = NativePath(name, search);
      if (is_file(native))
        return {native, arguments};
      continue;
    }
    for (const std::wstring& folder : folders) {
      if (folder.empty())
        continue;
      const std::wstring native = NativePath(common::JoinPath(folder, name), search);
      if (is_file(native))
        return {native, arguments};
    }
  }
  return {};
}

}  // namespace commandbox
