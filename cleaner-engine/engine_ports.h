// What the scan-and-clean engine needs of the world, as small interfaces:
// the file system, the drive list, the process list and the window that
// shows a run. The Win32 implementations live in the *_win files of this
// folder and in the two cleaners' windows; tests use in-memory fakes.
#ifndef CLEANER_ENGINE_ENGINE_PORTS_H_
#define CLEANER_ENGINE_ENGINE_PORTS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "common/no_yield_macro.h"

#include "common/message.h"

namespace engine {

// Attribute bits as the platform reports them.
constexpr uint32_t kAttributeReadOnly = 0x01;
constexpr uint32_t kAttributeHidden = 0x02;
constexpr uint32_t kAttributeSystem = 0x04;
constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeArchive = 0x20;
constexpr uint32_t kAttributeReparsePoint = 0x400;

struct DirEntry {
  std::wstring name;
  uint32_t attributes = 0;

  bool IsDirectory() const { return (attributes & kAttributeDirectory) != 0; }
  // A junction, symbolic link or mount point: never entered by a walk.
  bool IsLink() const { return (attributes & kAttributeReparsePoint) != 0; }
};

// An open directory search. Destroying it closes it.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry in the platform's order; false at the end.
  virtual bool Next(DirEntry* entry) = 0;
};

// A folder the walk is inside. It was a plain folder when the walk entered
// it (no junction, symbolic link or mounted folder), and while the hold
// lives nobody can rename, move or delete it, so nothing can put a link in
// its place. Destroying it lets go.
class FolderHold {
 public:
  virtual ~FolderHold() = default;
  // A search over the held folder: every entry, hidden and system ones
  // included, in the platform's order; nullptr when it cannot be listed.
  virtual std::unique_ptr<DirectorySearch> Search() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Enters a folder (a path with or without a trailing "\"): nullptr when it
  // is missing, not a folder, a reparse point of any kind, or cannot be
  // held. Every path handed to the other operations names exactly the entry
  // a listing returned, at any length: trailing dots and blanks and device
  // names such as "CON.tmp" are kept.
  virtual std::unique_ptr<FolderHold> HoldFolder(const std::wstring& path) = 0;
  virtual bool Attributes(const std::wstring& path, uint32_t* attributes) = 0;
  virtual bool SetAttributes(const std::wstring& path, uint32_t attributes) = 0;
  // Size in bytes of a file; false when it cannot be read (vanished).
  virtual bool Size(const std::wstring& path, uint64_t* size) = 0;
  virtual bool Remove(const std::wstring& path) = 0;
  // Deletes files that only go together (a database and its journal) all
  // or none: every one is opened for deletion, granting every kind of
  // sharing, before any is marked for it; none is deleted unless each is a
  // plain file that opened and could be marked (a read-only one loses that
  // attribute first). True when all were marked.
  virtual bool RemoveTogether(const std::vector<std::wstring>& paths) = 0;
  // True when exactly this path names a file (not a folder); with
  // include_hidden_system false, hidden and system files are not seen.
  virtual bool ListingFindsFile(const std::wstring& path, bool include_hidden_system) = 0;
  // True when the path names an existing file or folder, hidden and system
  // ones included.
  virtual bool Exists(const std::wstring& path) = 0;
};

// Drive types as the platform reports them.
constexpr unsigned kDriveUnknown = 0;
constexpr unsigned kDriveNoRoot = 1;
constexpr unsigned kDriveRemovable = 2;
constexpr unsigned kDriveFixed = 3;
constexpr unsigned kDriveRemote = 4;
constexpr unsigned kDriveCdRom = 5;
constexpr unsigned kDriveRamDisk = 6;

class DriveList {
 public:
  virtual ~DriveList() = default;
  // The drive roots as the platform writes them into a buffer of
  // `buffer_chars` characters filled with NULs beforehand: each root ended
  // by NUL, then NULs up to the end of the buffer.
  virtual std::wstring LogicalDriveStrings(size_t buffer_chars) = 0;
  virtual unsigned DriveType(const std::wstring& root) = 0;
};

// The platform's process list (psapi). Handles are opaque; 0 is none.
using ProcessHandle = uintptr_t;
using ModuleHandle = uintptr_t;

class ProcessList {
 public:
  virtual ~ProcessList() = default;
  // Fills up to `bytes` bytes of identifiers; *returned gets the bytes
  // written.
  virtual bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) = 0;
  virtual ProcessHandle Open(uint32_t id, uint32_t rights) = 0;
  // Fills up to `bytes` bytes of module handles; *needed gets the bytes the
  // whole list needs. Byte counts are those of the 32-bit platform: 4 bytes
  // a handle, whatever the size of ModuleHandle.
  virtual bool EnumModules(ProcessHandle process,
                           ModuleHandle* modules,
                           uint32_t bytes,
                           uint32_t* needed) = 0;
  // The file name of a module, at most `max_chars` characters; "" on
  // failure.
  virtual std::wstring ModuleFileName(ProcessHandle process,
                                      ModuleHandle module,
                                      uint32_t max_chars) = 0;
  // The program file of a process whose modules this program cannot read
  // (a 64-bit process seen from a 32-bit program on 64-bit Windows), where
  // the platform names it without them; at most `max_chars` characters, ""
  // where it does not.
  virtual std::wstring ImageFileName(ProcessHandle process, uint32_t max_chars) = 0;
  virtual void Close(ProcessHandle process) = 0;
};

// The two program-wide run flags. SetAppState(true) of the window clears
// both.
struct EngineFlags {
  // True while a run is in progress and no stop has been confirmed.
  bool scanRunning = false;
  // Set when the user confirms the stop question; polled by the walks.
  bool stopRequested = false;
};

// The controls both cleaners' windows switch between the ready and the
// busy state: cmdSearch, cmdStop, the invisible cmdExit and the hidden run
// target textPath.
enum class CleanerControl { kSearch, kStop, kExit, kTarget };

// What a run shows in a cleaner's window: the result list lstMsg, the
// progress text (first panel of statusMsg), the space freed (its second
// panel) and message boxes; and the yield to the window's message loop.
class RunDisplay {
 public:
  virtual ~RunDisplay() = default;
  virtual void ClearRows() = 0;
  virtual void AddRow(const std::wstring& item,
                      const std::wstring& size,
                      const std::wstring& status) = 0;
  virtual int RowCount() = 0;
  virtual void SetProgress(const std::wstring& text) = 0;
  // The bytes the run has freed so far; shown until the next run sets it
  // again. A window may show a new figure with the next progress text.
  virtual void SetFreed(uint64_t bytes) = 0;
  // Processes pending window messages; handlers (Stop, the type boxes) may
  // run inside.
  virtual void Yield() = 0;
  virtual common::MessageResult ShowMessage(const std::wstring& text,
                                            const std::wstring& title,
                                            common::MessageIcon icon,
                                            common::MessageButtons buttons) = 0;
};

// The window a run is shown in, as the engine sees it: its display, the
// run target textPath and the ready/busy state.
class ScanView : public virtual RunDisplay {
 public:
  // True: ready state (also clears both engine flags); false: busy state.
  virtual void SetAppState(bool ready) = 0;
  virtual std::wstring TargetText() = 0;
};

// The ready/busy switches of a cleaner's window.
class CleanerButtons {
 public:
  virtual ~CleanerButtons() = default;
  virtual void SetEnabled(CleanerControl control, bool enabled) = 0;
  // The button the Escape key stands for: cmdStop or cmdExit.
  virtual void SetCancelButton(CleanerControl control) = 0;
};

// A window logic's scan view: the display goes on to the window's.
class ForwardingScanView : public ScanView {
 public:
  explicit ForwardingScanView(RunDisplay& display) : display_(display) {}
  void ClearRows() override { display_.ClearRows(); }
  void AddRow(const std::wstring& item,
              const std::wstring& size,
              const std::wstring& status) override {
    display_.AddRow(item, size, status);
  }
  int RowCount() override { return display_.RowCount(); }
  void SetProgress(const std::wstring& text) override { display_.SetProgress(text); }
  void SetFreed(uint64_t bytes) override { display_.SetFreed(bytes); }
  void Yield() override { display_.Yield(); }
  common::MessageResult ShowMessage(const std::wstring& text,
                                    const std::wstring& title,
                                    common::MessageIcon icon,
                                    common::MessageButtons buttons) override {
    return display_.ShowMessage(text, title, icon, buttons);
  }

 private:
  RunDisplay& display_;
};

// SetAppState's switches, the same in both cleaners: ready enables the
// start and exit commands and the target and makes cmdExit the cancel
// button; busy enables only cmdStop and makes it the cancel button. The
// progress text is emptied either way, and the ready state clears both
// flags. Returns the cancel button.
CleanerControl ApplyAppState(CleanerButtons& buttons,
                             RunDisplay& display,
                             EngineFlags& flags,
                             bool ready);

}  // namespace engine

#endif  // CLEANER_ENGINE_ENGINE_PORTS_H_
