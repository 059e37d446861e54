#include "command-box/default_browser.h"

#include "command-box/program_search.h"
#include "command-box/web_lookups.h"
#include "common/text_rules.h"

namespace commandbox {
namespace {

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
  for (const ProgramCandidate& candidate : ProgramCandidates(command)) {
    const std::wstring program = WithProgramEnding(candidate.name);
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
