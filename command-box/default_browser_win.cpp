#include "command-box/default_browser_win.h"

#include <vector>

#include "common/platform_win.h"
#include "common/text_rules.h"
#include "common/wow64_win.h"

namespace commandbox {
namespace {

// Under WOW64 the registry's 64-bit view, where the 64-bit shell finds
// the classes (on Vista and earlier the 32-bit view of the machine's
// classes is a copy of its own).
std::wstring ReadText(HKEY root,
                      const std::wstring& key_name,
                      const wchar_t* value,
                      bool* expandable) {
  return common::ReadRegistryText(root, key_name, value,
                                  common::RunsUnderWow64() ? KEY_WOW64_64KEY : 0, expandable);
}

// Replaces a variable's name in any letter case by another name.
std::wstring RenameVariable(std::wstring text, const std::wstring& from, const std::wstring& to) {
  const std::wstring lower_from = common::ToLowerAscii(from);
  for (size_t at = common::ToLowerAscii(text).find(lower_from); at != std::wstring::npos;
       at = common::ToLowerAscii(text).find(lower_from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::wstring Expand(std::wstring text) {
  // A 32-bit program's ProgramFiles is the 32-bit folder; the 64-bit
  // shell expands it to the 64-bit one, which ProgramW6432 names.
  if (common::RunsUnderWow64()) {
    if (!common::GetEnvironmentText(L"ProgramW6432").empty())
      text = RenameVariable(text, L"%ProgramFiles%", L"%ProgramW6432%");
    if (!common::GetEnvironmentText(L"CommonProgramW6432").empty())
      text = RenameVariable(text, L"%CommonProgramFiles%", L"%CommonProgramW6432%");
  }
  const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0)
    return text;
  std::vector<wchar_t> expanded(size + 1, L'\0');
  if (::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size + 1) == 0)
    return text;
  return expanded.data();
}

}  // namespace

std::wstring Win32BrowserRegistry::UserChoice() {
  return ReadText(HKEY_CURRENT_USER,
                  L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\"
                  L"UserChoice",
                  L"ProgId", nullptr);
}

std::wstring Win32BrowserRegistry::OpenCommand(const std::wstring& class_name) {
  // The user's classes over the machine's, as HKEY_CLASSES_ROOT merges
  // them on Windows (Wine's HKEY_CLASSES_ROOT holds the machine's alone).
  const std::wstring key_name = L"Software\\Classes\\" + class_name + L"\\shell\\open\\command";
  bool expandable = false;
  std::wstring command = ReadText(HKEY_CURRENT_USER, key_name, nullptr, &expandable);
  if (command.empty())
    command = ReadText(HKEY_LOCAL_MACHINE, key_name, nullptr, &expandable);
  return expandable ? Expand(command) : command;
}

bool Win32BrowserRegistry::FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CurrentBrowserPrefix() {
  Win32BrowserRegistry registry;
  return DefaultBrowserPrefix(registry);
}

}  // namespace commandbox
