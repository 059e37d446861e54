// Which folders a cleaning run may start in. Whatever a category names (a
// shell folder moved by the registry, a TEMP variable pointing at "C:\" or
// at the profile), a run never empties a drive root, the Windows folder,
// the user's profile, application data, documents or desktop, the folders
// of installed programs and their common data, nor a folder above one of
// these: everything below them would go.
#ifndef TEMP_CLEANER_FOLDER_GUARD_H_
#define TEMP_CLEANER_FOLDER_GUARD_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tempclean {

// Folder texts compared the way the file system compares names: "\" and
// "/" alike, no trailing "\" (but a drive root keeps its own), letters
// without regard to case. Other letters than ASCII ones are compared as
// they are; two spellings of one folder that differ there are found by
// their identity (FolderGuard).
std::wstring FolderKey(std::wstring_view path);
bool SameFolderText(std::wstring_view a, std::wstring_view b);
// True when `inner` is `outer` or lies below it.
bool FolderTextWithin(std::wstring_view inner, std::wstring_view outer);
// "C:\", "C:", "\\server\share", and the same behind "\\?\".
bool IsDriveRootText(std::wstring_view path);

// One folder on one volume, whatever path led to it.
struct FolderIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FolderIdentity&) const = default;
};

// What the guard needs of the file system.
class FolderFacts {
 public:
  virtual ~FolderFacts() = default;
  // The path made absolute and plain, with long names where the folders
  // exist; "" when it cannot be.
  virtual std::wstring FullPath(const std::wstring& path) = 0;
  // The folder a path leads to, links followed; nothing when it cannot be
  // opened.
  virtual std::optional<FolderIdentity> Identity(const std::wstring& path) = 0;
};

class FolderGuard {
 public:
  // `kept`: the folders that must never be emptied (the Windows folder, the
  // profile ...); "" entries are ignored. Their identities, and those of
  // every folder above them, are read here, once per run.
  FolderGuard(FolderFacts& facts, const std::vector<std::wstring>& kept);

  // False for a text that is no full path ("C:\..." or
  // "\\server\share\..."), a drive root, and a kept folder or one above
  // it, by text or by identity (a junction such as "C:\Documents and
  // Settings\Bob" is the profile "C:\Users\Bob"); false too for a folder
  // that an earlier yes of this guard named by another path (a TEMP spelled
  // through the junctions is the user's own temporary folder), so that no
  // file is listed twice.
  bool MayEmpty(const std::wstring& folder);

 private:
  FolderFacts& facts_;
  std::vector<std::wstring> keys_;  // the kept folders and their ancestors
  std::vector<FolderIdentity> identities_;
  std::vector<FolderIdentity> emptied_;
};

}  // namespace tempclean

#endif  // TEMP_CLEANER_FOLDER_GUARD_H_
