// suite_bench junk ROUNDS
// suite_bench junk-match ROUNDS FOLDER
// suite_bench clean ROUNDS
// suite_bench stop ROUNDS
// suite_bench profile ROUNDS
//
// The measurements scripts/bench prints, each the real window of a cleaner
// against a bare loop of the same work, alternating round by round, best
// of the rounds (the first round of each side warms the caches and is not
// counted):
//   junk        junksweep's whole-disk walk through its window, from the
//               click on "开始清理" to the closing message, against a bare
//               recursive FindFirstFileW enumeration of the same drives.
//   junk-match  the same walk where a tenth of the files are junk, planted
//               again before every round below FOLDER, against a bare loop
//               that makes the same file-system calls (the folder holds,
//               the listings, and per junk file the attribute reset, the
//               size, the deletion and its checks).
//   clean       tmpsweep's run over its temporary folders, where the
//               script has put 20,000 files below C:\windows\Temp\bench
//               (planted again before every round), against a bare loop
//               that makes the same file-system calls in the same order.
//   stop        a click on "停止" during a walk, delivered by another
//               thread at random moments as input arrives, until the stop
//               question is on screen; against the same click on a button
//               of a window that does nothing else and shows a message box.
//   profile     where the time of the junk walk goes: the bare enumeration,
//               then step by step the engine's literal paths, folder holds,
//               walk, result list and status bar, and the whole window.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cleaner-engine/engine_ports_win.h"
#include "common/platform_win.h"
#include "common/text_rules.h"
#include "common/window_win.h"
#include "junk-cleaner/junk_cleaner_window_win.h"
#include "temp-cleaner/temp_cleaner_window_win.h"
#include "testing/win_test_support_win.h"

namespace {

using testing_support::MessageBoxAnswerer;

// Milliseconds of the performance counter, with fractions.
double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The moments at which message boxes of this thread are activated; each
// one also sets `shown`, for a thread that waits for it. With
// `watch_presses`, also when each button press was taken from the queue:
// that hook sees every message the thread takes, and under Wine each of
// its calls on to the next hook is a round trip to the server, so only the
// stop-question measurement, which needs it, pays for it.
class BoxClock {
 public:
  explicit BoxClock(bool watch_presses = false) {
    self_ = this;
    shown = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    hook_ = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    if (watch_presses)
      message_hook_ =
          ::SetWindowsHookExW(WH_GETMESSAGE, MessageHook, nullptr, ::GetCurrentThreadId());
  }
  ~BoxClock() {
    ::UnhookWindowsHookEx(hook_);
    if (message_hook_)
      ::UnhookWindowsHookEx(message_hook_);
    ::CloseHandle(shown);
    self_ = nullptr;
  }
  double first() const { return times.empty() ? 0 : times.front(); }
  // When a box was activated; when the press that asked for it was taken
  // from the queue.
  std::vector<double> times, presses;
  HANDLE shown = nullptr;

 private:
  static LRESULT CALLBACK MessageHook(int code, WPARAM wparam, LPARAM lparam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lparam);
    if (code == HC_ACTION && wparam == PM_REMOVE && self_ && msg->message == WM_LBUTTONDOWN)
      self_->presses.push_back(Now());
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static LRESULT CALLBACK Hook(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE && wparam && self_) {
      wchar_t name[16] = {};
      ::GetClassNameW(reinterpret_cast<HWND>(wparam), name, 16);
      if (std::wstring(name) == L"#32770") {
        self_->times.push_back(Now());
        ::SetEvent(self_->shown);
      }
    }
    return ::CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static BoxClock* self_;
  HHOOK hook_ = nullptr, message_hook_ = nullptr;
};
BoxClock* BoxClock::self_ = nullptr;

bool IsJunk(const std::wstring& path) {
  static const wchar_t* const kEndings[] = {
      L".tmp", L"._mp", L".syd", L".gid", L".old", L".bak", L".chk", L".fts", L".ftg",
      L".prv", L".wbk", L".xlk", L".~mp", L".pch", L".err", L".$$$", L".---", L".___",
      L".??$", L".?~?", L".%%%", L".@@@", L"cdr_", L"temp", L"#Res"};
  const std::wstring ending = common::RightChars(path, 4);
  for (const wchar_t* e : kEndings)
    if (ending == e)
      return true;
  return false;
}

// The roots junksweep visits: every drive up to the first removable one,
// floppies A: and B: and CD-ROMs skipped.
std::vector<std::wstring> VisitedRoots() {
  std::vector<std::wstring> roots;
  wchar_t buffer[256] = {};
  ::GetLogicalDriveStringsW(255, buffer);
  for (const wchar_t* root = buffer; *root; root += wcslen(root) + 1) {
    const std::wstring r = root;
    const std::wstring lower = common::ToLowerAscii(r);
    if (lower == L"a:\\" || lower == L"b:\\" || ::GetDriveTypeW(root) == DRIVE_CDROM)
      continue;
    if (::GetDriveTypeW(root) == DRIVE_REMOVABLE)
      break;
    roots.push_back(r);
  }
  return roots;
}

// What the bare loops do per folder and per file.
struct BareCalls {
  bool holds = false;        // the walk's folder hold and its checks
  bool junk_only = false;    // files taken: junk (else all but .dat/.log/.ini)
  bool take_files = false;   // make the per-file calls at all
  long long entries = 0;
  long long taken = 0;
};

// The per-file calls of a walk that takes the file.
void TakeFile(const std::wstring& full, BareCalls* calls) {
  const std::wstring path = engine::ExtendedPath(full);
  ::SetFileAttributesW(path.c_str(), 0);
  WIN32_FILE_ATTRIBUTE_DATA size;
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &size))
    return;
  ::GetFileAttributesW(path.c_str());  // exists?
  ::GetFileAttributesW(path.c_str());  // read-only?
  ::DeleteFileW(path.c_str());
  ::GetFileAttributesW(path.c_str());  // gone?
  ++calls->taken;
}

// A recursive walk without a window: with holds, through the engine's own
// folder holds and their listings (the same calls as the walk); without,
// a plain FindFirstFileW enumeration.
void BareWalk(const std::wstring& folder, BareCalls* calls) {
  std::vector<std::wstring> subfolders;
  auto visit = [&](const wchar_t* name, DWORD attributes) {
    ++calls->entries;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name[0] != L'.' && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        subfolders.push_back(name);
      return;
    }
    if (!calls->take_files)
      return;
    const std::wstring full = folder + name;
    if (calls->junk_only ? IsJunk(full) : engine::CleanWalkTakes(full))
      TakeFile(full, calls);
  };
  std::unique_ptr<engine::FolderHold> hold;
  if (calls->holds) {
    static engine::Win32FileSystem fs;
    hold = fs.HoldFolder(folder);
    if (!hold)
      return;
    if (auto search = hold->Search()) {
      engine::DirEntry entry;
      while (search->Next(&entry))
        visit(entry.name.c_str(), entry.attributes);
    }
  } else {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do
        visit(data.cFileName, data.dwFileAttributes);
      while (::FindNextFileW(find, &data));
      ::FindClose(find);
    }
  }
  for (const std::wstring& sub : subfolders)
    BareWalk(folder + sub + L"\\", calls);
}

// Plants `count` files below a folder, one in every `every` of its
// existing subfolders' files, named so that they are junk (".tmp").
int PlantFiles(const std::wstring& folder, const std::wstring& ending, int per_folder, int count) {
  int made = 0;
  for (int d = 0; made < count; ++d) {
    const std::wstring dir = folder + L"\\p" + std::to_wstring(d);
    ::CreateDirectoryW(dir.c_str(), nullptr);
    for (int f = 0; f < per_folder && made < count; ++f, ++made) {
      HANDLE h = ::CreateFileW((dir + L"\\f" + std::to_wstring(f) + ending).c_str(), GENERIC_WRITE,
                               0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (h == INVALID_HANDLE_VALUE)
        return made;
      DWORD written = 0;
      ::WriteFile(h, "bench", 5, &written, nullptr);
      ::CloseHandle(h);
    }
  }
  return made;
}

double JunkWindowRun(int* rows, double* started);

// A scan view that shows nothing and never yields: what the engine and the
// file system cost without a window.
class SilentView : public engine::ScanView {
 public:
  void ClearRows() override {}
  void AddRow(const std::wstring&, const std::wstring&, const std::wstring&) override { ++rows; }
  int RowCount() override { return rows; }
  void SetProgress(const std::wstring&) override {}
  void SetFreed(uint64_t) override {}
  void Yield() override {}
  common::MessageResult ShowMessage(const std::wstring&,
                                    const std::wstring&,
                                    common::MessageIcon,
                                    common::MessageButtons) override {
    return common::MessageResult::kOk;
  }
  void SetAppState(bool) override {}
  std::wstring TargetText() override { return L""; }
  int rows = 0;
};

// The result list and status bar of a cleaner's window, without the rest
// of the window.
class ListView : public SilentView {
 public:
  ListView(engine::ResultList& list, bool texts = true, bool pumps = true)
      : list_(list), texts_(texts), pumps_(pumps) {}
  void AddRow(const std::wstring& a, const std::wstring& b, const std::wstring& c) override {
    list_.AddRow(a, b, c);
  }
  void SetProgress(const std::wstring& text) override {
    if (texts_)
      list_.SetProgress(text);
  }
  void SetFreed(uint64_t bytes) override {
    if (texts_)
      list_.SetFreed(bytes);
  }
  void Yield() override {
    if (pumps_)
      list_.Yield();
  }

 private:
  engine::ResultList& list_;
  bool texts_, pumps_;
};

// Where the time of the nothing-matching walk goes, step by step.
int Profile(int rounds) {
  struct Host : common::Window {
  } host;
  host.Create(L"SuiteBenchHost", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 700, 450,
              nullptr);
  engine::ResultList list;
  list.Create(host.hwnd(), 100, 101, RECT{8, 8, 680, 380}, nullptr);
  const std::vector<std::wstring> roots = VisitedRoots();
  auto engine_walk = [&](engine::FileSystem& fs, engine::ScanView& view) {
    engine::EngineFlags flags;
    engine::Win32DriveList drives;
    engine::Win32ProcessList processes;
    engine::ScanEngine walk(flags, fs, drives, processes, view,
                            engine::JunkCleanerConfig(IsJunk));
    for (const std::wstring& root : roots)
      walk.WalkFolder(root);
  };
  const char* names[] = {"bare enumeration",
                         "bare, literal paths",
                         "bare, literal paths and holds",
                         "engine, silent view",
                         "engine, result list and status bar",
                         "(the same, texts but no pumping)",
                         "(the same, pumping but no texts)",
                         "junksweep's window",
                         "(in it: the process phase)",
                         "(in it: the closing message box)"};
  std::vector<double> best(std::size(names), 1e18);
  for (int r = 0; r <= rounds; ++r) {
    for (size_t step = 0; step < std::size(names); ++step) {
      double start = Now();
      if (step <= 2) {
        BareCalls calls;
        calls.holds = step == 2;
        for (const std::wstring& root : roots)
          BareWalk(step == 1 ? engine::ExtendedPath(root) : root, &calls);
      } else if (step == 3) {
        engine::Win32FileSystem fs;
        SilentView view;
        engine_walk(fs, view);
      } else if (step <= 6) {
        engine::Win32FileSystem fs;
        ListView view(list, step != 6, step != 5);
        engine_walk(fs, view);
      } else if (step == 7) {
        int rows = 0;
        JunkWindowRun(&rows, &start);
      } else if (step == 8) {
        engine::Win32FileSystem fs;
        SilentView view;
        engine::EngineFlags flags;
        engine::Win32DriveList drives;
        engine::Win32ProcessList processes;
        engine::ScanEngine walk(flags, fs, drives, processes, view,
                                engine::JunkCleanerConfig(IsJunk));
        walk.ScanProcesses();
      } else {
        MessageBoxAnswerer answerer;
        BoxClock clock;
        ::MessageBoxW(host.hwnd(), L"此次搜索操作中发现垃圾：0项！！！", L"提示",
                      MB_OK | MB_ICONINFORMATION);
        best[step] = std::min(best[step], clock.first() - start);
        continue;
      }
      if (r > 0)
        best[step] = std::min(best[step], Now() - start);
    }
  }
  for (size_t step = 0; step < std::size(names); ++step)
    std::printf("  %-40s %6.0f ms  %.2fx\n", names[step], best[step], best[step] / best[0]);
  return 0;
}

// The best of the rounds on each side, and each round's own ratio: on a
// machine whose speed wanders, the two best times may come from rounds far
// apart, while the window and its bare loop of one round ran a moment
// apart; the median of those ratios is printed beside.
struct Best {
  double window = 1e18, bare = 1e18;
  std::vector<double> ratios;
  void Add(double window_ms, double bare_ms) {
    window = std::min(window, window_ms);
    bare = std::min(bare, bare_ms);
    ratios.push_back(window_ms / (bare_ms > 0 ? bare_ms : 1));
  }
  double MedianRatio() const {
    std::vector<double> sorted = ratios;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty())
      return 0;
    const size_t n = sorted.size();
    return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
  }
  void Print(const char* what, const char* window_name, const char* bare_name) const {
    std::printf("%s: %s %.0f ms, %s %.0f ms, ratio %.2f (median of the rounds' ratios %.2f)\n",
                what, window_name, window, bare_name, bare, window / (bare > 0 ? bare : 1),
                MedianRatio());
  }
};

// A cleaner's window as the benchmark uses it: shown, never ending the
// process.
template <typename Window>
void OpenForBench(Window& window) {
  window.exit_action = [] {};
  window.quit_on_destroy = false;
  window.Open();
}

// junksweep's window: one whole-disk run, from the click to the closing
// message.
double JunkWindowRun(int* rows, double* started) {
  junkclean::JunkCleanerWindow window;
  OpenForBench(window);
  testing_support::PumpFor(300);
  MessageBoxAnswerer answerer;
  BoxClock clock;
  const double start = Now();
  if (started)
    *started = start;
  ::SendMessageW(window.cmdSearch(), BM_CLICK, 0, 0);
  *rows = window.results().RowCount();
  return clock.first() - start;
}

// The fixed costs of every whole-disk run: the process phase, and the
// closing message box.
double ProcessPhase() {
  engine::Win32FileSystem fs;
  SilentView view;
  engine::EngineFlags flags;
  engine::Win32DriveList drives;
  engine::Win32ProcessList processes;
  engine::ScanEngine run(flags, fs, drives, processes, view, engine::JunkCleanerConfig(IsJunk));
  const double start = Now();
  run.ScanProcesses();
  return Now() - start;
}

double ClosingBox() {
  MessageBoxAnswerer answerer;
  BoxClock clock;
  const double start = Now();
  ::MessageBoxW(nullptr, L"此次搜索操作中发现垃圾：0项！！！", L"提示", MB_OK | MB_ICONINFORMATION);
  return clock.first() - start;
}

int Junk(int rounds, const std::wstring& plant) {
  Best best;
  double best_phase = 1e18, best_box = 1e18;
  long long entries = 0, taken = 0;
  int rows = 0;
  for (int r = 0; r <= rounds; ++r) {
    if (!plant.empty())
      PlantFiles(plant, L".tmp", 10, 2000);
    const double window = JunkWindowRun(&rows, nullptr);
    if (!plant.empty())
      PlantFiles(plant, L".tmp", 10, 2000);
    BareCalls calls;
    calls.holds = calls.take_files = calls.junk_only = !plant.empty();
    const double start = Now();
    for (const std::wstring& root : VisitedRoots())
      BareWalk(root, &calls);
    const double bare = Now() - start;
    entries = calls.entries;
    taken = calls.taken;
    const double phase = ProcessPhase();
    const double box = ClosingBox();
    if (r == 0)
      continue;  // warm-up
    best.Add(window, bare);
    best_phase = std::min(best_phase, phase);
    best_box = std::min(best_box, box);
  }
  std::printf("entries %lld, rows %d, taken by the bare loop %lld, rounds %d\n", entries, rows,
              taken, rounds);
  best.Print(plant.empty() ? "junk walk, nothing matching" : "junk walk, a tenth matching",
             "window", plant.empty() ? "bare enumeration" : "bare calls");
  // What the run costs besides the walk, whatever the drives hold.
  const double walk = best.window - best_phase - best_box;
  std::printf("  of the window's time: process phase %.0f ms, closing message %.0f ms; the walk "
              "itself %.0f ms, ratio %.2f\n",
              best_phase, best_box, walk, walk / (best.bare > 0 ? best.bare : 1));
  return 0;
}

int Clean(int rounds) {
  const std::wstring windir = common::GetEnvironmentText(L"windir");
  const std::wstring bench = windir + L"\\Temp\\bench";
  ::CreateDirectoryW(bench.c_str(), nullptr);
  ::WritePrivateProfileStringW(L"Option", L"temp", L"1", L"qz64temp.ini");
  ::WritePrivateProfileStringW(L"Option", L"auto", L"0", L"qz64temp.ini");
  Best best;
  int rows = 0;
  long long taken = 0;
  std::wstring named;  // the folders the category names, as its list holds them
  for (int r = 0; r <= rounds; ++r) {
    PlantFiles(bench, L".bin", 100, 20000);
    double window = 0;
    {
      tempclean::Win32TempCleanerSystem system;
      tempclean::TempCleanerWindow w(system);
      OpenForBench(w);
      // The start-up work ticks the stored category two seconds after load.
      testing_support::PumpUntil([&] { return w.logic().Checked(2); }, 5000);
      MessageBoxAnswerer answerer;
      BoxClock clock;
      const double start = Now();
      ::SendMessageW(w.cmdSearch(), BM_CLICK, 0, 0);
      window = clock.first() - start;
      rows = w.results().RowCount();
      named = w.logic().Text(2);
    }
    PlantFiles(bench, L".bin", 100, 20000);
    BareCalls calls;
    calls.holds = calls.take_files = true;
    // The same folders in the same order: ";A;B;C".
    std::vector<std::wstring> folders;
    for (size_t at = 0; at < named.size();) {
      const size_t end = std::min(named.find(L';', at + 1), named.size());
      folders.push_back(named.substr(at + 1, end - at - 1) + L"\\");
      at = end;
    }
    const double start = Now();
    for (const std::wstring& folder : folders)
      BareWalk(folder, &calls);
    const double bare = Now() - start;
    taken = calls.taken;
    if (r == 0)
      continue;
    best.Add(window, bare);
  }
  std::printf("files %lld, rows %d, rounds %d\n", taken, rows, rounds);
  best.Print("clean walk, 20,000 files", "window", "bare calls");
  return 0;
}

// Clicks a button from another thread at random moments, as input arrives
// (a press and a release posted to its queue), each time after the box of
// the last click was shown.
struct Clicker {
  HWND button = nullptr;
  int count = 0;
  HANDLE shown = nullptr;
  unsigned seed = 1;
  std::vector<double> posted;
  static DWORD WINAPI Run(void* self) {
    auto* c = static_cast<Clicker*>(self);
    for (int i = 0; i < c->count; ++i) {
      c->seed = c->seed * 1103515245u + 12345u;
      ::Sleep(20 + (c->seed >> 16) % 40);
      // Between two runs the button is off for a moment: a click then
      // would ask nothing.
      while (!::IsWindowEnabled(c->button))
        ::Sleep(2);
      c->posted.push_back(Now());
      ::PostMessageW(c->button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      ::PostMessageW(c->button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      if (::WaitForSingleObject(c->shown, 10000) != WAIT_OBJECT_0)
        return 1;
      ::Sleep(50);  // the box is answered meanwhile
    }
    return 0;
  }
};

// The latencies of the clicks after the first (which warms up), and of
// them the time the press waited in the queue.
std::vector<double> Latencies(const Clicker& clicker,
                              const BoxClock& clock,
                              std::vector<double>* waits) {
  std::vector<double> latencies;
  for (size_t i = 1; i < clicker.posted.size() && i < clock.times.size(); ++i) {
    latencies.push_back(clock.times[i] - clicker.posted[i]);
    if (i < clock.presses.size())
      waits->push_back(clock.presses[i] - clicker.posted[i]);
  }
  return latencies;
}

class PlainWindow : public common::Window {
 public:
  HWND button = nullptr;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_COMMAND && reinterpret_cast<HWND>(lparam) == button) {
      ::MessageBoxW(hwnd(), L"正在搜索你确定要终止吗？", L"提示",
                    MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2);
      return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
  }
};

int Stop(int rounds) {
  std::vector<double> walk, plain, walk_waits, plain_waits;
  const int clicks = rounds + 1;
  {
    junkclean::JunkCleanerWindow window;
    OpenForBench(window);
    testing_support::PumpFor(300);
    MessageBoxAnswerer answerer;
    BoxClock clock(/*watch_presses=*/true);
    // Every question is answered Cancel; the walk is run again until all
    // the clicks are done.
    for (int r = 0; r < clicks; ++r)
      answerer.QueueAnswer(IDCANCEL);
    Clicker clicker;
    clicker.button = window.cmdStop();
    clicker.count = clicks;
    clicker.shown = clock.shown;
    clicker.seed = ::GetTickCount();
    HANDLE thread = nullptr;
    // The clicks start once the run is under way.
    testing_support::StepTimer start(5, [&] {
      if (!::IsWindowEnabled(window.cmdStop()))
        return false;
      thread = ::CreateThread(nullptr, 0, Clicker::Run, &clicker, 0, nullptr);
      return true;
    });
    for (int run = 0; run < 20; ++run) {
      ::SendMessageW(window.cmdSearch(), BM_CLICK, 0, 0);
      if (thread && ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0)
        break;
    }
    if (thread) {
      ::WaitForSingleObject(thread, 10000);
      ::CloseHandle(thread);
    }
    // The closing messages of the runs are boxes too: keep the questions.
    std::vector<double> questions;
    for (size_t i = 0; i < answerer.boxes().size() && i < clock.times.size(); ++i)
      if (answerer.boxes()[i].text == L"正在搜索你确定要终止吗？")
        questions.push_back(clock.times[i]);
    clock.times = questions;
    walk = Latencies(clicker, clock, &walk_waits);
  }
  {
    PlainWindow window;
    window.Create(L"SuiteBenchPlain", L"plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 100, 100, 300,
                  200, nullptr);
    window.button = ::CreateWindowExW(0, L"Button", L"停止", WS_CHILD | WS_VISIBLE, 10, 10, 86,
                                      26, window.hwnd(), nullptr, nullptr, nullptr);
    MessageBoxAnswerer answerer;
    BoxClock clock(/*watch_presses=*/true);
    Clicker clicker;
    clicker.button = window.button;
    clicker.count = clicks;
    clicker.shown = clock.shown;
    clicker.seed = ::GetTickCount() + 7;
    HANDLE thread = ::CreateThread(nullptr, 0, Clicker::Run, &clicker, 0, nullptr);
    testing_support::PumpUntil([&] { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; },
                               60000);
    testing_support::PumpFor(100);
    ::CloseHandle(thread);
    plain = Latencies(clicker, clock, &plain_waits);
  }
  auto median = [](std::vector<double> v) {
    if (v.empty())
      return -1.0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  auto worst = [](const std::vector<double>& v) {
    return v.empty() ? -1.0 : *std::max_element(v.begin(), v.end());
  };
  std::printf(
      "stop question during a walk: median %.1f ms, worst %.1f ms (%zu clicks; the press waited "
      "%.1f ms of it in the queue)\n",
      median(walk), worst(walk), walk.size(), median(walk_waits));
  std::printf(
      "message box of a window that does nothing else: median %.1f ms, worst %.1f ms (waited "
      "%.1f ms)\n",
      median(plain), worst(plain), median(plain_waits));
  std::printf("stop question beyond the plain box: %.1f ms (median)\n", median(walk) - median(plain));
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: suite_bench junk|junk-match|clean|stop ROUNDS [FOLDER]\n");
    return 2;
  }
  INITCOMMONCONTROLSEX controls = {sizeof(controls),
                                   ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  std::srand(::GetTickCount());
  const std::wstring what = argv[1];
  const int rounds = std::max(1, _wtoi(argv[2]));
  if (what == L"junk")
    return Junk(rounds, L"");
  if (what == L"junk-match" && argc > 3)
    return Junk(rounds, argv[3]);
  if (what == L"clean")
    return Clean(rounds);
  if (what == L"stop")
    return Stop(rounds);
  if (what == L"profile")
    return Profile(rounds);
  return 2;
}
