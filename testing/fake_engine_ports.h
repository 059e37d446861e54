// In-memory fakes of the engine's ports: a file system with attributes,
// locked files, files that vanish after listing and reparse points; a
// drive list; a process list; a recording scan view.
#ifndef TESTING_FAKE_ENGINE_PORTS_H_
#define TESTING_FAKE_ENGINE_PORTS_H_

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cleaner-engine/engine_ports.h"
#include "cleaner-engine/scan_engine.h"

namespace testing_support {

class FakeFileSystem : public engine::FileSystem {
 public:
  struct Node {
    uint32_t attributes = 0;
    uint64_t size = 0;
    bool locked = false;                // Remove fails, the file stays
    bool vanishes = false;              // gone after it was listed
    bool attributes_fail = false;       // Attributes() fails
    bool remove_leaves_hidden = false;  // Remove "succeeds" but the file stays
  };

  // Adds a file or folder; parents are made as plain folders.
  void AddFile(const std::wstring& path, uint64_t size = 0, uint32_t attributes = 0);
  void AddFolder(const std::wstring& path, uint32_t attributes = 0);
  Node* Find(const std::wstring& path);
  bool Has(const std::wstring& path) const;

  // Turns a folder into a link (a folder with the reparse bit), as another
  // program could between the listing of its parent and the walk's entry;
  // false, as on the platform, while the walk holds it.
  bool ReplaceWithLink(const std::wstring& path);
  // Whether the walk holds the folder right now.
  bool IsHeld(const std::wstring& path) const;

  std::unique_ptr<engine::FolderHold> HoldFolder(const std::wstring& path) override;
  bool Attributes(const std::wstring& path, uint32_t* attributes) override;
  bool SetAttributes(const std::wstring& path, uint32_t attributes) override;
  bool Size(const std::wstring& path, uint64_t* size) override;
  bool Remove(const std::wstring& path) override;
  // All or none: a locked, missing or linked member keeps every one.
  bool RemoveTogether(const std::vector<std::wstring>& paths) override;
  bool ListingFindsFile(const std::wstring& path, bool include_hidden_system) override;
  bool Exists(const std::wstring& path) override;

  int open_searches = 0;  // searches open right now
  int max_open_searches = 0;
  // Every search opened (through a hold), as its pattern "FOLDER\*.*".
  std::vector<std::wstring> searches;
  std::vector<std::wstring> removed;
  std::vector<std::wstring> holds;     // every folder held, in order
  int open_holds = 0;                  // holds alive right now

 private:
  friend class FakeSearch;
  friend class FakeHold;
  // Lists a folder (pattern "FOLDER\*.*").
  std::unique_ptr<engine::DirectorySearch> OpenListing(const std::wstring& pattern);
  std::map<std::wstring, int> held_;  // case-folded path: holds alive
  static std::wstring Key(const std::wstring& path);
  // A folder (or drive root with anything on it) that can be listed; held
  // too unless it is a link, where `links_too` is false.
  bool IsFolder(const std::wstring& path, bool links_too) const;
  void Insert(const std::wstring& path, const Node& node);
  void Erase(const std::wstring& key);
  // Original spelling and node, by case-folded path.
  std::map<std::wstring, std::pair<std::wstring, Node>> nodes_;
  // Case-folded child paths by case-folded parent path.
  std::map<std::wstring, std::set<std::wstring>> children_;
};

class FakeDriveList : public engine::DriveList {
 public:
  struct Drive {
    std::wstring root;
    unsigned type;
  };
  std::vector<Drive> drives;
  std::wstring LogicalDriveStrings(size_t buffer_chars) override;
  unsigned DriveType(const std::wstring& root) override;
};

class FakeProcessList : public engine::ProcessList {
 public:
  struct Process {
    uint32_t id;
    std::wstring module;  // "" makes the module listing fail
    bool opens = true;
    std::wstring image{};  // named without its modules; "" when not
  };
  std::vector<Process> processes;
  std::vector<uint32_t> enum_rooms;  // every room offered to EnumProcesses
  int open_handles = 0;

  bool EnumProcesses(uint32_t* ids, uint32_t bytes, uint32_t* returned) override;
  engine::ProcessHandle Open(uint32_t id, uint32_t rights) override;
  bool EnumModules(engine::ProcessHandle process,
                   engine::ModuleHandle* modules,
                   uint32_t bytes,
                   uint32_t* needed) override;
  std::wstring ModuleFileName(engine::ProcessHandle process,
                              engine::ModuleHandle module,
                              uint32_t max_chars) override;
  std::wstring ImageFileName(engine::ProcessHandle process, uint32_t max_chars) override;
  void Close(engine::ProcessHandle process) override;
};

class FakeScanView : public engine::ScanView {
 public:
  struct Row {
    std::wstring item, size, status;
    bool operator==(const Row&) const = default;
  };
  struct Message {
    std::wstring text, title;
    common::MessageIcon icon;
    common::MessageButtons buttons;
  };

  void ClearRows() override { rows.clear(); }
  void AddRow(const std::wstring& item,
              const std::wstring& size,
              const std::wstring& status) override {
    rows.push_back({item, size, status});
    events.push_back(L"row:" + item);
  }
  int RowCount() override { return static_cast<int>(rows.size()); }
  void SetProgress(const std::wstring& text) override {
    progress.push_back(text);
    events.push_back(L"progress:" + text);
  }
  void SetFreed(uint64_t bytes) override { freed.push_back(bytes); }
  void Yield() override {
    ++yields;
    if (on_yield)
      on_yield(yields);
  }
  common::MessageResult ShowMessage(const std::wstring& text,
                                    const std::wstring& title,
                                    common::MessageIcon icon,
                                    common::MessageButtons buttons) override {
    messages.push_back({text, title, icon, buttons});
    events.push_back(L"message:" + text);
    if (on_message)
      on_message(text);
    if (!answers.empty()) {
      const auto answer = answers.front();
      answers.erase(answers.begin());
      return answer;
    }
    return common::MessageResult::kOk;
  }
  void SetAppState(bool ready) override {
    states.push_back(ready);
    events.push_back(ready ? L"state:ready" : L"state:busy");
    if (ready && flags) {
      flags->scanRunning = false;
      flags->stopRequested = false;
    }
  }
  std::wstring TargetText() override { return target; }

  std::wstring target;
  std::vector<Row> rows;
  std::vector<std::wstring> progress;
  std::vector<uint64_t> freed;  // every figure shown, in order
  std::vector<std::wstring> events;
  std::vector<Message> messages;
  std::vector<bool> states;
  std::vector<common::MessageResult> answers;
  int yields = 0;
  std::function<void(int yield_number)> on_yield;
  std::function<void(const std::wstring& text)> on_message;
  // The engine's flags, which SetAppState(true) clears as the window does.
  engine::EngineFlags* flags = nullptr;
};

}  // namespace testing_support

#endif  // TESTING_FAKE_ENGINE_PORTS_H_
