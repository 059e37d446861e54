// The engine's ports over the Win32 API (wide-character forms), and the
// result list and progress text that both cleaners' windows show.
#ifndef CLEANER_ENGINE_ENGINE_PORTS_WIN_H_
#define CLEANER_ENGINE_ENGINE_PORTS_WIN_H_

#include <array>
#include <string>
#include <vector>

#include "cleaner-engine/engine_ports.h"
#include "common/message.h"
#include "common/win32_win.h"

namespace engine {

// Directory search, folder holds, attributes, sizes and deletion. Every
// absolute path goes to the system behind "\\?\", so it names exactly the
// entry a listing returned, at any length: the classic rules would drop
// trailing dots and blanks ("index.dat." would become the protected
// "index.dat") and turn "CON.tmp" or "nul.bak" into devices.
class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<FolderHold> HoldFolder(const std::wstring& path) override;
  bool Attributes(const std::wstring& path, uint32_t* attributes) override;
  bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
  bool Size(const std::wstring& path, uint64_t* size) override;
  bool Remove(const std::wstring& path) override;
  bool RemoveTogether(const std::vector<std::wstring>& paths) override;
  bool ListingFindsFile(const std::wstring& path, bool include_hidden_system) override;
  bool Exists(const std::wstring& path) override;
};

// GetLogicalDriveStringsW and GetDriveTypeW.
class Win32DriveList : public DriveList {
 public:
  std::wstring LogicalDriveStrings(size_t buffer_chars) override;
  unsigned DriveType(const std::wstring& root) override;
};

// psapi's process and module lists. A 32-bit program under WOW64 cannot
// list the modules of a 64-bit process; from Vista on it names such a
// process by its image (QueryFullProcessImageNameW, looked up at run time).
class Win32ProcessList : public ProcessList {
 public:
  bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) override;
  ProcessHandle Open(uint32_t id, uint32_t rights) override;
  bool EnumModules(ProcessHandle process,
                   ModuleHandle* modules,
                   uint32_t bytes,
                   uint32_t* needed) override;
  std::wstring ModuleFileName(ProcessHandle process,
                              ModuleHandle module,
                              uint32_t max_chars) override;
  std::wstring ImageFileName(ProcessHandle process, uint32_t max_chars) override;
  void Close(ProcessHandle process) override;
};

// Turns on SeDebugPrivilege for this process; true when the platform
// accepted the adjustment.
bool EnableDebugPrivilege();

// The path the system takes literally: "\\?\" + path for a drive path,
// "\\?\UNC\" for a network path, at every length; a path of an odd
// spelling (forward slashes, "." or ".." parts, doubled backslashes) is
// made plain by the classic rules first. Relative paths stay as they are.
std::wstring ExtendedPath(const std::wstring& path);

// The result list lstMsg (report view, columns "文件路径", "文件大小",
// "状态") and the status bar statusMsg whose first panel holds the progress
// text.
//
// Repainting the progress text for every directory entry would cost more
// than the walk itself, and nobody can read more than a few dozen texts a
// second: a new text reaches the status bar at once when the last one was
// shown at least kProgressInterval ago, otherwise it waits for the next
// Yield after that time. The latest text always wins.
class ResultList {
 public:
  // Under Wine a new status bar text is drawn at once (some milliseconds
  // with a Chinese font); ten texts a second are as many as anyone reads.
  static constexpr unsigned kProgressInterval = 100;  // ms
  // The freed panel's width in pixels of the usual display: room for
  // "已释放：1023 KB" with the panel's margins.
  static constexpr int kFreedPanelWidth = 140;

  void Create(HWND parent, int list_id, int status_id, const RECT& list_rect, HFONT font);
  HWND list() const { return list_; }
  HWND status() const { return status_; }

  void ClearRows();
  void AddRow(const std::wstring& item, const std::wstring& size, const std::wstring& status);
  int RowCount() const;
  // Text of a cell as the control gives it (to tests, and to anyone who
  // asks it with LVM_GETITEMTEXT).
  std::wstring CellText(int row, int column);

  void SetProgress(const std::wstring& text);
  // The freed panel: shown with the next progress text that is shown, or
  // at once when nothing waits for the clock.
  void SetFreed(uint64_t bytes);
  // What the freed panel shows.
  std::wstring ShownFreed() const;
  // Puts a waiting text on screen now.
  void FlushProgress();
  // Draws the rows added since the last time and scrolls the list to the
  // newest one.
  void ShowNewestRow();
  // Processes pending messages, after showing a text that has waited long
  // enough. The walks call it at every directory entry; asking the window
  // system for messages costs far more than looking at an entry, so the
  // queue is actually emptied at most every kPumpInterval: Stop, the type
  // boxes and repaints still answer within a couple of frames.
  //
  // Even reading the clock costs more than the rest of a call that only
  // passes by (a tenth of a microsecond, and a file gets two yields and a
  // text): the yields read it on every kYieldsPerClockRead-th call, which
  // for a file is once (its two yields come a moment apart) and for a
  // folder entry every other entry. A text that finds another one waiting
  // reads it only on every kTextsPerClockRead-th call, since the next
  // yield shows the latest text in time; the callers that do not yield
  // (the process phase) still see their texts every so many calls.
  void Yield();
  static constexpr unsigned kPumpInterval = 20;  // ms
  static constexpr unsigned kYieldsPerClockRead = 2;
  static constexpr unsigned kTextsPerClockRead = 8;
  // New rows are drawn at most this often.
  static constexpr unsigned kRowsInterval = 200;  // ms
  // What the status bar shows, and the latest text asked for.
  std::wstring ShownProgress() const;
  const std::wstring& LatestProgress() const { return latest_; }

 private:
  HWND list_ = nullptr;
  HWND status_ = nullptr;
  std::wstring latest_;
  bool pending_ = false;
  uint64_t freed_ = 0;
  bool freed_pending_ = false;
  unsigned long long last_shown_ = 0;
  unsigned long long last_pump_ = 0;
  // Calls since the clock was last read; the first call reads it.
  unsigned yields_unread_ = kYieldsPerClockRead - 1;
  unsigned texts_unread_ = 0;
  // Tells the control how many rows there are.
  void SyncCount();

  std::vector<std::array<std::wstring, 3>> rows_;
  size_t shown_count_ = 0;  // what the control was last told
  int newest_row_ = -1;
  unsigned long long last_rows_shown_ = 0;
};

// A message box for the portable code's message kinds.
common::MessageResult ShowEngineMessage(HWND owner,
                                        const std::wstring& text,
                                        const std::wstring& title,
                                        common::MessageIcon icon,
                                        common::MessageButtons buttons);

}  // namespace engine

#endif  // CLEANER_ENGINE_ENGINE_PORTS_WIN_H_
