// The scan-and-clean engine both cleaners carry: the run sequence with its
// stop protocol and summary, the folder walk with a pluggable file test,
// the whole-disk walk and the process phase.
#ifndef CLEANER_ENGINE_SCAN_ENGINE_H_
#define CLEANER_ENGINE_SCAN_ENGINE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cleaner-engine/engine_ports.h"

namespace engine {

// Which files a folder walk takes. Asked once per file, with the full path,
// so a selection changed during a run applies from the next file on.
using FileTest = std::function<bool(const std::wstring& full_path)>;

// What differs between the two programs.
struct EngineConfig {
  // The stop question of cmdStop_Click.
  std::wstring stop_question;
  // Progress text prefix of the process phase.
  std::wstring process_prefix;
  // Progress text prefix for a subfolder met by the walk.
  std::wstring folder_prefix;
  // The summary of a path-list run; none for a program that only runs in
  // whole-disk mode.
  struct Summary {
    std::wstring found_prefix;  // + N + found_suffix
    std::wstring found_suffix;
    std::wstring nothing_found;
  };
  std::optional<Summary> summary;
  // Which files the folder walk deletes.
  FileTest file_test;
  // Which folders of the run target may be emptied; a folder it refuses is
  // passed over like a missing one. None: every folder.
  std::function<bool(const std::wstring& folder)> start_folder_test;
  // Called when a path-list run found something, before the summary
  // (tmpsweep's recycle-bin script); may be empty.
  std::function<void()> on_found;
  // Called at the end of every path-list run, found or not, before on_found
  // and the summary; may be empty.
  std::function<void()> on_end;
  // Called after the folders of a path-list run were walked, unless the run
  // was stopped: more work of the program's own (tmpsweep's browsers); may
  // be empty.
  std::function<void()> after_folders;
  // A second line for the summary of a path-list run; none when it gives "".
  std::function<std::wstring()> summary_note;
};

// Texts every run uses.
inline constexpr wchar_t kWholeDiskTarget[] = L"全盘扫描";
inline constexpr wchar_t kTitle[] = L"提示";
inline constexpr wchar_t kFileProgressPrefix[] = L"正在扫描：";
inline constexpr wchar_t kCleanOk[] = L"清除成功";
inline constexpr wchar_t kCleanFailed[] = L"清除失败";
inline constexpr wchar_t kDeleteOk[] = L"删除成功";
inline constexpr wchar_t kDeleteFailed[] = L"删除失败";

// The config of each cleaner.
EngineConfig TempCleanerConfig(std::function<void()> on_found);
EngineConfig JunkCleanerConfig(FileTest junk_test);

// A size as Windows writes sizes: bytes below 1 KB ("1023 字节"), else KB,
// MB, GB or TB of 1,024 each, with one decimal below 100 of the unit
// unless it is 0 ("3.5 MB", "12 KB", "150 MB"); cut, never rounded up, so
// that it never shows more than there is.
std::wstring SizeInUnits(uint64_t bytes);
// The freed panel's text: "已释放：" and the size.
std::wstring FreedText(uint64_t bytes);

// The drive roots of the drive list, in the platform's order.
std::vector<std::wstring> DriveRoots(DriveList& drives);

// The clean walk's file test: every file except those whose last four
// characters are exactly ".dat", ".log" or ".ini".
bool CleanWalkTakes(const std::wstring& full_path);

class ScanEngine {
 public:
  ScanEngine(EngineFlags& flags,
             FileSystem& files,
             DriveList& drives,
             ProcessList& processes,
             ScanView& view,
             EngineConfig config);

  // The run, as the start button performs it after the window's own
  // preparation. Returns when the run is over and its end message has been
  // answered. One run at a time: called again while a run is in progress
  // (from a handler that runs during one of its yields or message boxes),
  // it returns at once and changes nothing.
  void RunScan();
  bool Running() const { return running_; }
  // The stop question (cmdStop_Click).
  void StopQuestion();

  void WalkFolder(const std::wstring& path);
  // Walks a folder the program chose itself during a run as a folder of the
  // target is walked: when it exists and the start-folder test allows it.
  void CleanFolder(const std::wstring& folder);
  // Deletes a set of files that only go together all or none (their
  // folders held meanwhile, so that none can become a link), each existing
  // file a row as the walks give them: all "清除成功", or, when one of them
  // is held open by a program or a folder cannot be held, all "清除失败"
  // with every file as it was.
  void DeleteFileSet(const std::vector<std::wstring>& paths);
  bool Stopping() const { return flags_.stopRequested; }
  void ScanAllDrives();
  void ScanProcesses();
  void ShowScanSummary();

  bool DeleteFileChecked(const std::wstring& path);
  bool ClearReadOnly(const std::wstring& path);
  void AddResultRow(const std::wstring& item, const std::wstring& size, const std::wstring& status);
  // Counts bytes the run gave back besides its rows' files (tmpsweep's
  // emptied recycle bins) and shows the new total.
  void AddFreed(uint64_t bytes);
  uint64_t Freed() const { return freed_; }

  static constexpr uint32_t kProcessRights = 0x0410;  // query information, read memory
  static constexpr size_t kDriveBufferChars = 256;

 private:
  // One level of the walk: where its prefix ends in the shared path, and
  // the subfolders met in its listing.
  struct Folder {
    size_t prefix_length;
    std::vector<std::wstring> subfolders;
    size_t next = 0;
    // Held from the entry until the walk leaves the folder.
    std::unique_ptr<FolderHold> hold;
  };
  // Handles the entries of the held folder `prefix` (ending in "\") and
  // collects its subfolders; false when a stop was seen.
  bool ScanFolderEntries(const std::wstring& prefix,
                         FolderHold& folder,
                         std::vector<std::wstring>* subfolders);
  // A folder of the run target that exists and may be emptied.
  bool MayStartIn(const std::wstring& folder);

  EngineFlags& flags_;
  FileSystem& files_;
  DriveList& drives_;
  ProcessList& processes_;
  ScanView& view_;
  EngineConfig config_;
  bool running_ = false;
  // What the run has deleted: the sizes of its "清除成功" and "删除成功"
  // rows and what AddFreed adds.
  uint64_t freed_ = 0;
  std::wstring path_, progress_;  // scratch of ScanFolderEntries
};

}  // namespace engine

#endif  // CLEANER_ENGINE_SCAN_ENGINE_H_
