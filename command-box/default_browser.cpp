#include "command-box/default_browser.h"

#include "command-box/web_lookups.h"
#include "common/text_rules.h"

namespace commandbox {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

// The process start's rule: ".exe" goes on when the last part of the name
// has no ending of its own.
std::wstring WithProgramEnding(const std::wstring& name) {
  const size_t last_separator = name.find_last_of(L"\\/");
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && (last_separator == std::wstring::npos || dot > last_separator))
    return name;
  return name + L".exe";
}

// The fixed browser path as a file name: the prefix without its blank and
// with one backslash at each separator.
std::wstring FixedBrowserFile() {
  std::wstring path = kBrowserPrefix;
  path.pop_back();
  return common::ReplaceAll(path, L"\\\\", L"\\");
}

bool IsInternetExplorer(const std::wstring& program) {
  const size_t separator = program.find_last_of(L"\\/");
  const std::wstring name =
      separator == std::wstring::npos ? program : program.substr(separator + 1);
  return common::ToLowerAscii(name) == L"iexplore.exe";
}

}  // namespace

std::wstring CommandProgram(const std::wstring& command, BrowserRegistryPort& registry) {
  size_t start = 0;
  while (start < command.size() && IsBlank(command[start]))
    ++start;
  if (start < command.size() && command[start] == L'"') {
    const size_t end = command.find(L'"', start + 1);
    if (end == std::wstring::npos || end == start + 1)
      return std::wstring();
    const std::wstring program = WithProgramEnding(command.substr(start + 1, end - start - 1));
    return registry.FileExists(program) ? program : std::wstring();
  }
  for (size_t at = start; at <= command.size(); ++at) {
    if (at < command.size() && !IsBlank(command[at]))
      continue;
    if (at == start || IsBlank(command[at - 1]))
      continue;
    const std::wstring program = WithProgramEnding(command.substr(start, at - start));
    if (registry.FileExists(program))
      return program;
  }
  return std::wstring();
}

std::wstring DefaultBrowserPrefix(BrowserRegistryPort& registry) {
  std::wstring program;
  const std::wstring choice = registry.UserChoice();
  if (!choice.empty())
    program = CommandProgram(registry.OpenCommand(choice), registry);
  if (program.empty())
    program = CommandProgram(registry.OpenCommand(L"http"), registry);
  if (program.empty() || (IsInternetExplorer(program) && registry.FileExists(FixedBrowserFile())))
    return kBrowserPrefix;
  return L"\"" + program + L"\" ";
}

}  // namespace commandbox
