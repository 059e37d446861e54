#include "cleaner-engine/scan_engine.h"

#include <algorithm>
#include <utility>

#include "common/text_rules.h"

namespace engine {
namespace {

using common::MessageButtons;
using common::MessageIcon;
using common::MessageResult;

// "C:\x" and "C:\x\" both become "C:\x\".
std::wstring WorkingPrefix(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\')
    return path;
  return path + L'\\';
}

std::wstring SizeText(uint64_t bytes) {
  return std::to_wstring(bytes / 1024) + L" kb";
}

// The drive roots of a drive list buffer: its non-empty NUL-ended pieces.
std::vector<std::wstring> SplitDriveStrings(const std::wstring& buffer) {
  std::vector<std::wstring> roots;
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring::npos)
      end = buffer.size();
    if (end > start)
      roots.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return roots;
}

// The digits of a number.
std::wstring Decimal(uint64_t n) {
  wchar_t digits[24];
  wchar_t* at = digits + 24;
  do {
    *--at = static_cast<wchar_t>(L'0' + n % 10);
    n /= 10;
  } while (n != 0);
  return std::wstring(at, digits + 24);
}

}  // namespace

std::wstring SizeInUnits(uint64_t bytes) {
  if (bytes < 1024)
    return Decimal(bytes) + L" 字节";
  static const wchar_t* const kUnits[] = {L"KB", L"MB", L"GB", L"TB"};
  int unit = 0;
  uint64_t size = 1024;
  while (unit < 3 && bytes / size >= 1024) {
    ++unit;
    size *= 1024;
  }
  const uint64_t whole = bytes / size;
  // The remainder is below 2^50, so ten times it fits.
  const uint64_t tenth = bytes % size * 10 / size;
  std::wstring text = Decimal(whole);
  if (whole < 100 && tenth != 0)
    text += {L'.', static_cast<wchar_t>(L'0' + tenth)};
  return text + L' ' + kUnits[unit];
}

std::wstring FreedText(uint64_t bytes) {
  return L"已释放：" + SizeInUnits(bytes);
}

std::vector<std::wstring> DriveRoots(DriveList& drives) {
  return SplitDriveStrings(drives.LogicalDriveStrings(ScanEngine::kDriveBufferChars));
}

bool CleanWalkTakes(const std::wstring& full_path) {
  const size_t length = full_path.size() < 4 ? full_path.size() : 4;
  const std::wstring_view ending(full_path.data() + full_path.size() - length, length);
  return ending != L".dat" && ending != L".log" && ending != L".ini";
}

EngineConfig TempCleanerConfig(std::function<void()> on_found) {
  EngineConfig config;
  config.stop_question = L"正在清理你确定要终止吗？";
  config.process_prefix = L"正在扫描：";
  config.folder_prefix = L"正在检查：";
  config.summary =
      EngineConfig::Summary{L"此次搜索操作中发现垃圾：", L"项", L"此次搜索操作中没有发现垃圾！"};
  config.file_test = CleanWalkTakes;
  config.on_found = std::move(on_found);
  return config;
}

EngineConfig JunkCleanerConfig(FileTest junk_test) {
  EngineConfig config;
  config.stop_question = L"正在搜索你确定要终止吗？";
  config.process_prefix = L"正在检查：";
  config.folder_prefix = L"正在扫描：";
  config.file_test = std::move(junk_test);
  return config;
}

ScanEngine::ScanEngine(EngineFlags& flags,
                       FileSystem& files,
                       DriveList& drives,
                       ProcessList& processes,
                       ScanView& view,
                       EngineConfig config)
    : flags_(flags),
      files_(files),
      drives_(drives),
      processes_(processes),
      view_(view),
      config_(std::move(config)) {}

void ScanEngine::RunScan() {
  if (running_)
    return;
  running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{running_};
  view_.ClearRows();
  freed_ = 0;
  view_.SetFreed(0);
  flags_.scanRunning = true;
  view_.SetAppState(false);

  const std::wstring target = view_.TargetText();
  if (target == kWholeDiskTarget) {
    ScanProcesses();
    ScanAllDrives();  // ends the run itself
    return;
  }
  if (target.find(L';') == std::wstring::npos) {
    // One folder: the process phase runs first, and only here.
    if (MayStartIn(target)) {
      flags_.scanRunning = true;
      flags_.stopRequested = false;
      ScanProcesses();
      WalkFolder(target);
    }
  } else {
    size_t start = 0;
    while (start <= target.size()) {
      if (Stopping())
        break;
      size_t end = target.find(L';', start);
      if (end == std::wstring::npos)
        end = target.size();
      const std::wstring entry = target.substr(start, end - start);
      if (!entry.empty() && MayStartIn(entry))
        WalkFolder(entry);
      start = end + 1;
    }
  }
  if (config_.after_folders && !Stopping())
    config_.after_folders();
  ShowScanSummary();
}

void ScanEngine::CleanFolder(const std::wstring& folder) {
  // After a confirmed stop no further folder is opened.
  if (!Stopping() && MayStartIn(folder))
    WalkFolder(folder);
}

void ScanEngine::DeleteFileSet(const std::vector<std::wstring>& paths) {
  view_.Yield();
  if (Stopping())
    return;
  struct Member {
    const std::wstring* path;
    uint64_t size;
  };
  std::vector<Member> members;
  std::vector<std::wstring> existing;
  std::vector<std::wstring> folders;
  // A name that is there as a folder (or a link to one) spoils the set.
  bool whole = true;
  for (const std::wstring& path : paths) {
    uint64_t size = 0;
    if (!files_.ListingFindsFile(path, /*include_hidden_system=*/true) ||
        !files_.Size(path, &size)) {
      whole = whole && !files_.Exists(path);
      continue;
    }
    members.push_back({&path, size});
    existing.push_back(path);
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  if (members.empty())
    return;
  view_.SetProgress(kFileProgressPrefix + existing.front());
  std::vector<std::unique_ptr<FolderHold>> holds;
  for (const std::wstring& folder : folders) {
    holds.push_back(files_.HoldFolder(folder));
    whole = whole && holds.back();
  }
  if (whole)
    files_.RemoveTogether(existing);
  holds.clear();
  uint64_t freed = 0;
  for (const Member& m : members) {
    const bool gone = !files_.ListingFindsFile(*m.path, /*include_hidden_system=*/true);
    AddResultRow(*m.path, SizeText(m.size), gone ? kCleanOk : kCleanFailed);
    if (gone)
      freed += m.size;
  }
  AddFreed(freed);
}

bool ScanEngine::MayStartIn(const std::wstring& folder) {
  return files_.Exists(folder) && (!config_.start_folder_test || config_.start_folder_test(folder));
}

void ScanEngine::StopQuestion() {
  if (!flags_.scanRunning)
    return;
  const MessageResult answer =
      view_.ShowMessage(config_.stop_question, kTitle, MessageIcon::kInformation,
                        MessageButtons::kOkCancelDefaultCancel);
  if (answer == MessageResult::kOk) {
    flags_.scanRunning = false;
    flags_.stopRequested = true;
  }
}

void ScanEngine::ShowScanSummary() {
  const int rows = view_.RowCount();
  if (config_.summary) {
    if (config_.on_end)
      config_.on_end();
    const std::wstring note = config_.summary_note ? config_.summary_note() : std::wstring();
    const std::wstring second_line = note.empty() ? note : L"\n" + note;
    if (rows > 0) {
      if (config_.on_found)
        config_.on_found();
      view_.ShowMessage(config_.summary->found_prefix + std::to_wstring(rows) +
                            config_.summary->found_suffix + second_line,
                        kTitle, MessageIcon::kQuestion, MessageButtons::kOk);
    } else {
      view_.ShowMessage(config_.summary->nothing_found + second_line, kTitle,
                        MessageIcon::kInformation, MessageButtons::kOk);
    }
  }
  view_.SetAppState(true);
}

// The walk keeps its own stack of folders instead of recursing, so a deep
// tree cannot overflow the thread's stack, and one path string that each
// level cuts back to its own prefix, so memory grows with the depth only.
// The order is the recursive one: a folder's files first, then its
// subfolders depth first in listing order.
//
// Every folder, the start folder included, is entered through a hold: it
// must be a plain folder at the moment the walk enters it (a subfolder can
// have been replaced by a link since its parent was listed, a start folder
// can be a link from the outset), and it cannot be replaced while the walk
// is inside it, below it included. A folder that cannot be held is passed
// over like one that cannot be listed.
void ScanEngine::WalkFolder(const std::wstring& path) {
  std::wstring prefix = WorkingPrefix(path);
  std::vector<Folder> stack;
  Folder root{prefix.size(), {}, 0, files_.HoldFolder(prefix)};
  if (!root.hold)
    return;
  if (!ScanFolderEntries(prefix, *root.hold, &root.subfolders))
    return;
  stack.push_back(std::move(root));
  while (!stack.empty()) {
    Folder& top = stack.back();
    if (top.next >= top.subfolders.size()) {
      stack.pop_back();
      continue;
    }
    // After a confirmed stop no further folder is opened.
    if (Stopping())
      return;
    prefix.resize(top.prefix_length);
    prefix += top.subfolders[top.next++];
    prefix += L'\\';
    Folder child{prefix.size(), {}, 0, files_.HoldFolder(prefix)};
    if (!child.hold)
      continue;
    if (!ScanFolderEntries(prefix, *child.hold, &child.subfolders))
      return;
    if (!child.subfolders.empty())
      stack.push_back(std::move(child));
  }
}

bool ScanEngine::ScanFolderEntries(const std::wstring& prefix,
                                   FolderHold& folder,
                                   std::vector<std::wstring>* subfolders) {
  std::unique_ptr<DirectorySearch> search = folder.Search();
  if (!search)
    return true;
  DirEntry entry;
  while (search->Next(&entry)) {
    view_.Yield();
    if (entry.IsDirectory()) {
      // ".", ".." and every folder whose name begins with a dot.
      if (!entry.name.empty() && entry.name[0] == L'.')
        continue;
      if (Stopping())
        return false;
      // Junctions, symbolic links and mounted folders lead out of the tree
      // being cleaned: never entered.
      if (entry.IsLink())
        continue;
      subfolders->push_back(entry.name);
      progress_.assign(config_.folder_prefix).append(prefix).append(entry.name);
      view_.SetProgress(progress_);
      continue;
    }
    view_.Yield();
    if (Stopping())
      return false;
    // The path and the text are built in buffers that keep their room from
    // one file to the next: most files only pass by.
    std::wstring& full = path_;
    full.assign(prefix).append(entry.name);
    progress_.assign(kFileProgressPrefix).append(full);
    view_.SetProgress(progress_);
    if (!config_.file_test || !config_.file_test(full))
      continue;
    files_.SetAttributes(full, 0);  // result ignored
    uint64_t size = 0;
    if (!files_.Size(full, &size))
      continue;  // vanished: no attempt, no row
    const bool gone = DeleteFileChecked(full);
    AddResultRow(full, SizeText(size), gone ? kCleanOk : kCleanFailed);
    if (gone)
      AddFreed(size);
  }
  // The search closes here, before any subfolder is opened.
  return true;
}

void ScanEngine::ScanAllDrives() {
  const std::vector<std::wstring> roots = DriveRoots(drives_);
  for (const std::wstring& root : roots) {
    if (Stopping())
      break;
    // A network drive is other people's storage: its .bak and .old files
    // are somebody's keepsakes, and a share whose server is gone stalls the
    // walk. It is passed over like a CD-ROM, autorun.inf included.
    const std::wstring lower = common::ToLowerAscii(root);
    const unsigned type = drives_.DriveType(root);
    if (lower == L"a:\\" || lower == L"b:\\" || type == kDriveCdRom || type == kDriveRemote)
      continue;
    // The first removable drive ends the walk: it and every drive after it.
    if (drives_.DriveType(root) == kDriveRemovable)
      break;
    const std::wstring autorun = root + L"autorun.inf";
    if (files_.ListingFindsFile(autorun, /*include_hidden_system=*/true)) {
      uint64_t size = 0;
      const bool sized = files_.Size(autorun, &size);
      ClearReadOnly(autorun);
      const bool gone = DeleteFileChecked(autorun);
      AddResultRow(L"autorun.inf", autorun, gone ? kDeleteOk : kDeleteFailed);
      if (gone && sized)
        AddFreed(size);
    }
    WalkFolder(root);
  }
  view_.ShowMessage(L"此次搜索操作中发现垃圾：" + std::to_wstring(view_.RowCount()) + L"项！！！",
                    kTitle, MessageIcon::kInformation, MessageButtons::kOk);
  flags_.scanRunning = false;
  view_.SetAppState(true);
}

void ScanEngine::ScanProcesses() {
  // The identifier list, with room doubling from 16 bytes while the
  // platform fills it completely.
  constexpr uint32_t kMaxRoom = 1u << 20;
  std::vector<uint32_t> ids;
  uint32_t room = 16, returned = 0;
  while (true) {
    ids.assign(room / 4, 0);
    returned = 0;
    if (!processes_.EnumProcesses(ids.data(), room, &returned)) {
      returned = 0;
      break;
    }
    if (returned != room || room >= kMaxRoom)
      break;
    room *= 2;
  }
  const size_t count = std::min<size_t>(returned / 4, ids.size());

  constexpr uint32_t kModuleBytes = 4096;  // 1,024 handles
  std::vector<ModuleHandle> modules(kModuleBytes / sizeof(uint32_t), 0);
  std::wstring module_name;  // kept from one process to the next
  for (size_t i = 0; i < count; ++i) {
    const uint32_t id = ids[i];
    const ProcessHandle process = processes_.Open(id, kProcessRights);
    if (id != 4 && process != 0) {
      uint32_t needed = 0;
      processes_.EnumModules(process, modules.data(), 1024, &needed);
      const uint32_t second_room = std::min(needed, kModuleBytes);
      uint32_t needed_again = 0;
      // A listing with no room for even the main module leaves nothing to
      // read.
      if (second_room >= 4 &&
          processes_.EnumModules(process, modules.data(), second_room, &needed_again)) {
        module_name = processes_.ModuleFileName(process, modules[0], 255);
      } else if (std::wstring image = processes_.ImageFileName(process, 255); !image.empty()) {
        module_name = std::move(image);
      }
      view_.SetProgress(config_.process_prefix + module_name + L"...");
    }
    if (process != 0)
      processes_.Close(process);
  }
}

bool ScanEngine::ClearReadOnly(const std::wstring& path) {
  uint32_t attributes = 0;
  if (!files_.Attributes(path, &attributes))
    return false;
  if (attributes & kAttributeReadOnly)
    files_.SetAttributes(path, 0);
  return true;
}

// True only when the file is gone. The check sees hidden and system files
// too: one that survives its deletion is reported as failed, not as gone.
bool ScanEngine::DeleteFileChecked(const std::wstring& path) {
  if (files_.ListingFindsFile(path, /*include_hidden_system=*/true)) {
    if (!ClearReadOnly(path))
      return false;
    files_.Remove(path);
  }
  return !files_.ListingFindsFile(path, /*include_hidden_system=*/true);
}

void ScanEngine::AddFreed(uint64_t bytes) {
  if (bytes == 0)
    return;
  freed_ += bytes;
  view_.SetFreed(freed_);
}

void ScanEngine::AddResultRow(const std::wstring& item,
                              const std::wstring& size,
                              const std::wstring& status) {
  view_.AddRow(item, size, status);
}

CleanerControl ApplyAppState(CleanerButtons& buttons,
                             RunDisplay& display,
                             EngineFlags& flags,
                             bool ready) {
  buttons.SetEnabled(CleanerControl::kSearch, ready);
  buttons.SetEnabled(CleanerControl::kExit, ready);
  buttons.SetEnabled(CleanerControl::kStop, !ready);
  buttons.SetEnabled(CleanerControl::kTarget, ready);
  const CleanerControl cancel = ready ? CleanerControl::kExit : CleanerControl::kStop;
  buttons.SetCancelButton(cancel);
  display.SetProgress(L"");
  if (ready) {
    flags.scanRunning = false;
    flags.stopRequested = false;
  }
  return cancel;
}

}  // namespace engine
