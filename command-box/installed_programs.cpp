#include "command-box/installed_programs.h"

#include <algorithm>

#include "command-box/pinyin_table.h"
#include "common/text_rules.h"

namespace commandbox {
namespace {

// Start menus nest a few levels deep; the bound keeps a strange tree from
// costing the look-up more than that.
constexpr int kMaxDepth = 16;

std::wstring Lower(const std::wstring& text) {
  return common::ToLowerAscii(text);
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& ending) {
  return text.size() > ending.size() && Lower(text.substr(text.size() - ending.size())) == ending;
}

bool IsAscii(const std::wstring& text) {
  for (wchar_t c : text)
    if (c >= 0x80)
      return false;
  return true;
}

// Help and uninstall entries sit beside the programs in many Start menu
// folders; by their initials they would answer to what is typed for the
// program itself ("xzwx" is 卸载微信).
bool IsHelpOrUninstall(const std::wstring& name) {
  const std::wstring lower = Lower(name);
  for (const wchar_t* word : {L"卸载", L"帮助", L"uninstall", L"help"})
    if (lower.find(word) != std::wstring::npos)
      return true;
  return false;
}

bool Has(const std::vector<std::wstring>& list, const std::wstring& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

class Finder {
 public:
  Finder(InstalledProgramsPort& port, const std::wstring& typed)
      : port_(port), typed_(typed), typed_lower_(Lower(typed)), pinyin_(IsAscii(typed)) {
    for (const std::wstring& startup : port_.StartupFolders())
      startup_.push_back(Lower(startup));
  }

  void Walk(const std::wstring& folder, int depth) {
    if (depth > kMaxDepth || Has(startup_, Lower(folder)))
      return;
    const std::vector<FolderEntry> entries = port_.List(folder);
    std::vector<std::pair<std::wstring, std::wstring>> localized;
    for (const FolderEntry& entry : entries)
      if (!entry.folder && Lower(entry.name) == L"desktop.ini")
        localized = port_.LocalizedNames(folder);
    for (const FolderEntry& entry : entries) {
      if (entry.folder) {
        if (!entry.reparse_point && entry.name != L"." && entry.name != L"..")
          Walk(Join(folder, entry.name), depth + 1);
        continue;
      }
      if (!EndsWithNoCase(entry.name, L".lnk"))
        continue;
      std::wstring name = entry.name.substr(0, entry.name.size() - 4);
      if (!Answers(name)) {
        const auto found =
            std::find_if(localized.begin(), localized.end(), [&](const auto& file_and_name) {
              return Lower(file_and_name.first) == Lower(entry.name);
            });
        if (found == localized.end())
          continue;
        name = LocalizedName(found->second);
        if (name.empty() || !Answers(name))
          continue;
      }
      const std::wstring path = Join(folder, entry.name);
      const ShortcutTarget target = port_.ReadShortcut(path);
      if (!target.read || (!target.target.empty() && !port_.Exists(target.target)))
        continue;
      Add(target.target.empty() ? L"\n" + Lower(path)
                                : Lower(target.target) + L"\n" + target.arguments,
          {name, folder, path, L""});
    }
  }

  void AppPaths() {
    for (const AppPathEntry& entry : port_.AppPaths()) {
      std::wstring name = entry.key;
      if (EndsWithNoCase(name, L".exe"))
        name.resize(name.size() - 4);
      std::wstring target = entry.target;
      if (target.size() >= 2 && target.front() == L'"' && target.back() == L'"')
        target = target.substr(1, target.size() - 2);
      if (Lower(name) != typed_lower_ || target.empty() || !port_.Exists(target))
        continue;
      const size_t slash = target.find_last_of(L'\\');
      Add(Lower(target) + L"\n",
          {name, slash == std::wstring::npos ? L"" : target.substr(0, slash), L"", entry.key});
    }
  }

  std::vector<FoundProgram> found;

 private:
  bool Answers(const std::wstring& name) {
    if (Lower(name) == typed_lower_)
      return true;
    return pinyin_ && !IsHelpOrUninstall(name) && MatchesPinyin(name, typed_);
  }

  std::wstring LocalizedName(const std::wstring& value) {
    if (value.empty() || value[0] != L'@')
      return value;
    return port_.LoadIndirectString(value);
  }

  void Add(const std::wstring& key, FoundProgram program) {
    if (Has(keys_, key))
      return;
    keys_.push_back(key);
    found.push_back(std::move(program));
  }

  InstalledProgramsPort& port_;
  const std::wstring typed_;
  const std::wstring typed_lower_;
  const bool pinyin_;
  // A few entries each: a list is smaller in the program than a tree.
  std::vector<std::wstring> startup_;
  std::vector<std::wstring> keys_;
};

}  // namespace

std::vector<FoundProgram> FindInstalledPrograms(InstalledProgramsPort& port,
                                                const std::wstring& typed) {
  Finder finder(port, typed);
  if (typed.empty())
    return {};
  const std::vector<ProgramFolder> folders = port.Folders();
  for (const bool start_menu : {true, false})
    for (const ProgramFolder& folder : folders)
      if (folder.start_menu == start_menu)
        finder.Walk(folder.path, 0);
  finder.AppPaths();
  return finder.found;
}

ProgramStart StartInstalledProgram(InstalledProgramsPort& port, const std::wstring& typed) {
  const std::vector<FoundProgram> found = FindInstalledPrograms(port, typed);
  if (found.empty())
    return ProgramStart::kNone;
  size_t chosen = 0;
  if (found.size() > 1) {
    std::vector<std::wstring> lines;
    for (const FoundProgram& program : found)
      lines.push_back(program.name + L"（" + program.folder + L"）");
    const std::optional<size_t> choice = port.Choose(lines);
    if (!choice || *choice >= found.size())
      return ProgramStart::kNone;
    chosen = *choice;
  }
  const FoundProgram& program = found[chosen];
  const bool started = program.shortcut.empty() ? port.OpenAppPath(program.app_path)
                                                : port.OpenShortcut(program.shortcut);
  return started ? ProgramStart::kStarted : ProgramStart::kFailed;
}

}  // namespace commandbox
