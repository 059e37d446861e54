#include "testing/fake_engine_ports.h"

#include <algorithm>

#include "common/text_rules.h"

namespace testing_support {
namespace {

std::wstring Parent(const std::wstring& path) {
  const size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos)
    return L"";
  // "C:\x" has the parent "C:\" (the drive root keeps its backslash).
  if (slash == 2 && path[1] == L':')
    return path.substr(0, 3);
  return path.substr(0, slash);
}

std::wstring StripTrailingSlash(const std::wstring& path) {
  if (path.size() > 3 && path.back() == L'\\')
    return path.substr(0, path.size() - 1);
  return path;
}

}  // namespace

std::wstring FakeFileSystem::Key(const std::wstring& path) {
  return common::ToLowerAscii(StripTrailingSlash(path));
}

void FakeFileSystem::Insert(const std::wstring& path, const Node& node) {
  const std::wstring key = Key(path);
  nodes_[key] = {path, node};
  const std::wstring parent = Parent(path);
  if (!parent.empty() && Key(parent) != key)
    children_[Key(parent)].insert(key);
}

void FakeFileSystem::Erase(const std::wstring& key) {
  const auto it = nodes_.find(key);
  if (it == nodes_.end())
    return;
  const std::wstring parent = Parent(it->second.first);
  children_[Key(parent)].erase(key);
  nodes_.erase(it);
}

void FakeFileSystem::AddFolder(const std::wstring& path, uint32_t attributes) {
  // Missing parents first, outermost first, without recursion: tests build
  // trees thousands of levels deep.
  std::vector<std::wstring> missing;
  for (std::wstring p = Parent(StripTrailingSlash(path)); !p.empty() && !Has(p);) {
    missing.push_back(p);
    const std::wstring up = Parent(p);
    if (up == p)
      break;
    p = up;
  }
  Node plain;
  plain.attributes = engine::kAttributeDirectory;
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    Insert(*it, plain);
  Node node;
  node.attributes = attributes | engine::kAttributeDirectory;
  Insert(StripTrailingSlash(path), node);
}

void FakeFileSystem::AddFile(const std::wstring& path, uint64_t size, uint32_t attributes) {
  const std::wstring parent = Parent(path);
  if (!parent.empty() && !Has(parent))
    AddFolder(parent);
  Node node;
  node.attributes = attributes;
  node.size = size;
  Insert(path, node);
}

FakeFileSystem::Node* FakeFileSystem::Find(const std::wstring& path) {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? nullptr : &it->second.second;
}

bool FakeFileSystem::Has(const std::wstring& path) const {
  return nodes_.count(Key(path)) != 0;
}

// Lists a folder the way Wine does: "." and ".." first (not at a drive
// root), then the names sorted without regard to case.
class FakeSearch : public engine::DirectorySearch {
 public:
  FakeSearch(FakeFileSystem& fs,
             std::vector<engine::DirEntry> entries,
             std::vector<std::wstring> vanishing)
      : fs_(fs), entries_(std::move(entries)), vanishing_(std::move(vanishing)) {
    fs_.max_open_searches = std::max(fs_.max_open_searches, ++fs_.open_searches);
  }
  ~FakeSearch() override { --fs_.open_searches; }
  bool Next(engine::DirEntry* entry) override {
    if (next_ >= entries_.size())
      return false;
    *entry = entries_[next_];
    // A file that vanishes does so once it has been listed.
    if (!vanishing_[next_].empty())
      fs_.Erase(vanishing_[next_]);
    ++next_;
    return true;
  }

 private:
  FakeFileSystem& fs_;
  std::vector<engine::DirEntry> entries_;
  std::vector<std::wstring> vanishing_;
  size_t next_ = 0;
};

std::unique_ptr<engine::DirectorySearch> FakeFileSystem::OpenListing(const std::wstring& pattern) {
  searches.push_back(pattern);
  if (pattern.size() < 4 || pattern.substr(pattern.size() - 4) != L"\\*.*")
    return nullptr;
  const std::wstring folder = pattern.substr(0, pattern.size() - 3);  // keeps the "\"
  if (!IsFolder(folder, /*links_too=*/true))
    return nullptr;
  const bool is_root = folder.size() == 3 && folder[1] == L':';
  const auto kids = children_.find(Key(folder));
  std::vector<engine::DirEntry> entries;
  std::vector<std::wstring> vanishing;
  if (!is_root) {
    entries.push_back({L".", engine::kAttributeDirectory});
    entries.push_back({L"..", engine::kAttributeDirectory});
    vanishing.resize(2);
  }
  if (kids != children_.end()) {
    // Child keys are case-folded full paths of one parent, so their order
    // is the case-insensitive order of the names.
    for (const std::wstring& key : kids->second) {
      const auto& [path, node] = nodes_[key];
      entries.push_back({path.substr(path.find_last_of(L'\\') + 1), node.attributes});
      vanishing.push_back(node.vanishes ? key : std::wstring());
    }
  }
  return std::make_unique<FakeSearch>(*this, std::move(entries), std::move(vanishing));
}

class FakeHold : public engine::FolderHold {
 public:
  FakeHold(FakeFileSystem& fs, std::wstring key, std::wstring path)
      : fs_(fs), key_(std::move(key)), path_(std::move(path)) {
    if (path_.empty() || path_.back() != L'\\')
      path_ += L'\\';
    ++fs_.held_[key_];
    ++fs_.open_holds;
  }
  std::unique_ptr<engine::DirectorySearch> Search() override {
    return fs_.OpenListing(path_ + L"*.*");
  }
  ~FakeHold() override {
    if (--fs_.held_[key_] == 0)
      fs_.held_.erase(key_);
    --fs_.open_holds;
  }

 private:
  FakeFileSystem& fs_;
  std::wstring key_;
  std::wstring path_;
};

std::unique_ptr<engine::FolderHold> FakeFileSystem::HoldFolder(const std::wstring& path) {
  holds.push_back(path);
  if (!IsFolder(path, /*links_too=*/false))
    return nullptr;
  return std::make_unique<FakeHold>(*this, Key(path), path);
}

bool FakeFileSystem::IsFolder(const std::wstring& path, bool links_too) const {
  const std::wstring key = Key(path);
  if (key.size() == 3 && key[1] == L':') {
    // A drive root exists when anything lies on that drive.
    const auto kids = children_.find(key);
    return kids != children_.end() && !kids->second.empty();
  }
  const auto it = nodes_.find(key);
  if (it == nodes_.end())
    return false;
  const uint32_t attributes = it->second.second.attributes;
  return (attributes & engine::kAttributeDirectory) &&
         (links_too || !(attributes & engine::kAttributeReparsePoint));
}

bool FakeFileSystem::ReplaceWithLink(const std::wstring& path) {
  Node* node = Find(path);
  if (!node || IsHeld(path))
    return false;
  node->attributes |= engine::kAttributeReparsePoint;
  return true;
}

bool FakeFileSystem::IsHeld(const std::wstring& path) const {
  return held_.count(Key(path)) != 0;
}

bool FakeFileSystem::Attributes(const std::wstring& path, uint32_t* attributes) {
  Node* node = Find(path);
  if (!node || node->attributes_fail)
    return false;
  *attributes = node->attributes;
  return true;
}

bool FakeFileSystem::SetAttributes(const std::wstring& path, uint32_t attributes) {
  Node* node = Find(path);
  if (!node)
    return false;
  node->attributes = (node->attributes & engine::kAttributeDirectory) | attributes;
  return true;
}

bool FakeFileSystem::Size(const std::wstring& path, uint64_t* size) {
  Node* node = Find(path);
  if (!node || (node->attributes & engine::kAttributeDirectory))
    return false;
  *size = node->size;
  return true;
}

bool FakeFileSystem::Remove(const std::wstring& path) {
  Node* node = Find(path);
  if (!node || (node->attributes & engine::kAttributeDirectory))
    return false;
  if (node->locked || (node->attributes & engine::kAttributeReadOnly))
    return false;
  if (node->remove_leaves_hidden) {
    node->attributes |= engine::kAttributeHidden;
    return true;
  }
  removed.push_back(nodes_[Key(path)].first);
  Erase(Key(path));
  return true;
}

bool FakeFileSystem::RemoveTogether(const std::vector<std::wstring>& paths) {
  for (const std::wstring& path : paths) {
    const Node* node = Find(path);
    if (!node || node->locked ||
        (node->attributes & (engine::kAttributeDirectory | engine::kAttributeReparsePoint)))
      return false;
  }
  for (const std::wstring& path : paths) {
    Find(path)->attributes &= ~engine::kAttributeReadOnly;
    Remove(path);
  }
  return true;
}

bool FakeFileSystem::ListingFindsFile(const std::wstring& path, bool include_hidden_system) {
  Node* node = Find(path);
  if (!node || (node->attributes & engine::kAttributeDirectory))
    return false;
  if (!include_hidden_system &&
      (node->attributes & (engine::kAttributeHidden | engine::kAttributeSystem)))
    return false;
  return true;
}

bool FakeFileSystem::Exists(const std::wstring& path) {
  return Find(path) != nullptr;
}

std::wstring FakeDriveList::LogicalDriveStrings(size_t buffer_chars) {
  std::wstring buffer(buffer_chars, L'\0');
  size_t at = 0;
  for (const Drive& d : drives) {
    if (at + d.root.size() + 1 > buffer_chars)
      break;
    buffer.replace(at, d.root.size(), d.root);
    at += d.root.size() + 1;
  }
  return buffer;
}

unsigned FakeDriveList::DriveType(const std::wstring& root) {
  for (const Drive& d : drives)
    if (common::ToLowerAscii(d.root) == common::ToLowerAscii(root))
      return d.type;
  return engine::kDriveNoRoot;
}

bool FakeProcessList::EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) {
  enum_rooms.push_back(bytes);
  const size_t fit = std::min<size_t>(bytes / 4, processes.size());
  for (size_t i = 0; i < fit; ++i)
    ids[i] = processes[i].id;
  *returned = static_cast<uint32_t>(fit * 4);
  return true;
}

engine::ProcessHandle FakeProcessList::Open(uint32_t id, uint32_t rights) {
  for (size_t i = 0; i < processes.size(); ++i) {
    if (processes[i].id == id && processes[i].opens && rights == 0x0410) {
      ++open_handles;
      return i + 1;
    }
  }
  return 0;
}

bool FakeProcessList::EnumModules(engine::ProcessHandle process,
                                  engine::ModuleHandle* modules,
                                  uint32_t bytes,
                                  uint32_t* needed) {
  const Process& p = processes[process - 1];
  if (p.module.empty())
    return false;
  *needed = 3 * 4;  // three modules
  if (bytes >= 4)
    modules[0] = 0x400000 + process;
  return true;
}

std::wstring FakeProcessList::ModuleFileName(engine::ProcessHandle process,
                                             engine::ModuleHandle module,
                                             uint32_t max_chars) {
  if (module != 0x400000 + process)
    return L"";
  return processes[process - 1].module.substr(0, max_chars);
}

std::wstring FakeProcessList::ImageFileName(engine::ProcessHandle process, uint32_t max_chars) {
  return processes[process - 1].image.substr(0, max_chars);
}

void FakeProcessList::Close(engine::ProcessHandle) {
  --open_handles;
}

}  // namespace testing_support
