// walk_bench FOLDER [ROUNDS]
//
// Times two walks over the same tree under the platform and prints files
// per second for both and their ratio:
//   bare  a plain recursive FindFirstFileW/FindNextFileW enumeration;
//   junk  the junk walk of the engine through a real window with the result
//         list and status bar, yielding to the message loop at every entry.
// The tree should hold no junk, so that both walks only look.
#include <cstdio>
#include <string>

#include "cleaner-engine/engine_ports_win.h"
#include "cleaner-engine/scan_engine.h"
#include "common/text_rules.h"
#include "common/window_win.h"

namespace {

long long BareWalk(const std::wstring& folder) {
  long long files = 0;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return 0;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (data.cFileName[0] != L'.')
        files += BareWalk(folder + L"\\" + data.cFileName);
    } else {
      ++files;
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  return files;
}

// The scan view of a cleaner's window, reduced to what a walk uses.
class BenchView : public engine::ScanView {
 public:
  explicit BenchView(engine::ResultList& list) : list_(list) {}
  void ClearRows() override { list_.ClearRows(); }
  void AddRow(const std::wstring& a, const std::wstring& b, const std::wstring& c) override {
    list_.AddRow(a, b, c);
  }
  int RowCount() override { return list_.RowCount(); }
  void SetProgress(const std::wstring& text) override {
    ++texts;
    list_.SetProgress(text);
  }
  void Yield() override { list_.Yield(); }
  common::MessageResult ShowMessage(const std::wstring&,
                                    const std::wstring&,
                                    common::MessageIcon,
                                    common::MessageButtons) override {
    return common::MessageResult::kOk;
  }
  void SetAppState(bool) override {}
  std::wstring TargetText() override { return L""; }
  long long texts = 0;

 private:
  engine::ResultList& list_;
};

const wchar_t* const kEndings[] = {L".tmp", L"._mp", L".syd", L".gid", L".old", L".bak", L".chk",
                                   L".fts", L".ftg", L".prv", L".wbk", L".xlk", L".~mp", L".pch",
                                   L".err", L".$$$", L".---", L".___", L".??$", L".?~?", L".%%%",
                                   L".@@@", L"cdr_", L"temp", L"#Res"};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: walk_bench FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::wstring root = argv[1];
  const int rounds = argc > 2 ? _wtoi(argv[2]) : 3;
  ::InitCommonControls();

  struct Host : common::Window {
  } host;
  host.Create(L"SuiteWalkBench", L"walk bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 700, 450,
              nullptr);
  engine::ResultList list;
  list.Create(host.hwnd(), 100, 101, RECT{8, 8, 680, 380}, nullptr);
  common::Yield();

  double best_bare = 1e18, best_junk = 1e18;
  long long files = 0;
  long long texts = 0;
  for (int r = 0; r < rounds; ++r) {
    unsigned long long t0 = common::SteadyMilliseconds();
    files = BareWalk(root);
    unsigned long long t1 = common::SteadyMilliseconds();
    best_bare = std::min(best_bare, double(t1 - t0));

    engine::EngineFlags flags;
    engine::Win32FileSystem fs;
    engine::Win32DriveList drives;
    engine::Win32ProcessList processes;
    BenchView view(list);
    engine::ScanEngine walk(flags, fs, drives, processes, view,
                            engine::JunkCleanerConfig([](const std::wstring& path) {
                              const std::wstring ending = common::RightChars(path, 4);
                              for (const wchar_t* e : kEndings)
                                if (ending == e)
                                  return true;
                              return false;
                            }));
    t0 = common::SteadyMilliseconds();
    walk.WalkFolder(root);
    t1 = common::SteadyMilliseconds();
    best_junk = std::min(best_junk, double(t1 - t0));
    texts = view.texts;
  }
  best_bare = std::max(best_bare, 1.0);
  best_junk = std::max(best_junk, 1.0);
  std::printf("files %lld, progress texts %lld, rounds %d (best of each)\n", files, texts, rounds);
  std::printf("bare enumeration: %.0f ms, %.0f files/s\n", best_bare, files * 1000.0 / best_bare);
  std::printf("junk walk + view: %.0f ms, %.0f files/s\n", best_junk, files * 1000.0 / best_junk);
  std::printf("ratio junk/bare: %.2f\n", best_junk / best_bare);
  return 0;
}
