#include "cleaner-engine/engine_ports_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "cleaner-engine/scan_engine.h"
#include "common/platform_win.h"
#include "common/text_rules.h"
#include "common/window_win.h"
#include "testing/fake_engine_ports.h"
#include "testing/win_test_support_win.h"

namespace engine {
namespace {

using testing_support::FakeScanView;
using testing_support::FileExists;
using testing_support::MakeScratchFolder;
using testing_support::TestProgramFolder;
using testing_support::WriteFileBytes;
using Texts = std::vector<std::wstring>;

// The real file system, recording the folders it enters (holds and lists).
class RecordingFileSystem : public Win32FileSystem {
 public:
  std::unique_ptr<FolderHold> HoldFolder(const std::wstring& path) override {
    auto hold = Win32FileSystem::HoldFolder(path);
    if (hold)
      entered.push_back(path);
    return hold;
  }
  std::vector<std::wstring> entered;
};

bool JunkEnding(const std::wstring& path) {
  const std::wstring ending = common::RightChars(path, 4);
  return ending == L".tmp" || ending == L".bak";
}

void EndProcess(HANDLE process) {
  ::TerminateProcess(process, 0);
  ::WaitForSingleObject(process, 5000);
  ::CloseHandle(process);
}

// Another process holding `file` open without delete sharing (as a running
// browser holds its database), once it has written `marker`; else nullptr.
HANDLE HoldOpen(const std::wstring& file, const std::wstring& marker) {
  ::DeleteFileW(marker.c_str());
  HANDLE process = nullptr;
  if (common::StartCommandLine(TestProgramFolder() + L"\\file_locker.exe \"" + file + L"\" \"" +
                                   marker + L"\"",
                               common::StartWindow::kHidden, &process) &&
      testing_support::PumpUntil([&] { return FileExists(marker); }, 10000))
    return process;
  if (process)
    EndProcess(process);
  return nullptr;
}

// Starts the recorder tool `program` (it waits 20 s) and gives it half a second.
HANDLE StartRecorder(const std::wstring& program) {
  ::SetEnvironmentVariableW(L"SUITE_RECORD_WAIT", L"20000");
  ::SetEnvironmentVariableW(L"SUITE_RECORD", (TestProgramFolder() + L"\\proc.txt").c_str());
  HANDLE process = nullptr;
  common::StartCommandLine(program, common::StartWindow::kHidden, &process);
  ::SetEnvironmentVariableW(L"SUITE_RECORD_WAIT", nullptr);
  ::Sleep(500);
  return process;
}

// Whether the view showed `text`, in any case of letters.
bool Shown(const FakeScanView& view, const std::wstring& text) {
  return std::any_of(view.progress.begin(), view.progress.end(), [&](const std::wstring& t) {
    return common::ToLowerAscii(t) == common::ToLowerAscii(text);
  });
}

Texts Items(const FakeScanView& view) {
  Texts items;
  for (const auto& r : view.rows)
    items.push_back(r.item);
  return items;
}

class EngineWinTest : public ::testing::Test {
 protected:
  void SetUp() override { view_.flags = &flags_; }
  ScanEngine Engine(EngineConfig config) {
    return ScanEngine(flags_, files_, drives_, processes_, view_, std::move(config));
  }
  EngineFlags flags_;
  RecordingFileSystem files_;
  Win32DriveList drives_;
  Win32ProcessList processes_;
  FakeScanView view_;
};

// A hidden, read-only system file goes; sizes are 64-bit (3 GB).
TEST_F(EngineWinTest, HiddenReadOnlyAndLargeFilesAreDeleted) {
  const std::wstring dir = MakeScratchFolder(L"hidden");
  const std::wstring file = dir + L"\\secret.bin", big = dir + L"\\big.bin";
  ASSERT_TRUE(WriteFileBytes(file, std::string(5000, 'x')));
  ASSERT_TRUE(::SetFileAttributesW(
      file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
  HANDLE h = ::CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 3LL * 1024 * 1024 * 1024;
  ASSERT_TRUE(::SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
  ASSERT_TRUE(::SetEndOfFile(h));
  ::CloseHandle(h);
  uint64_t read = 0;
  ASSERT_TRUE(files_.Size(big, &read));
  EXPECT_EQ(read, 3ull * 1024 * 1024 * 1024);
  Engine(TempCleanerConfig(nullptr)).WalkFolder(dir);
  EXPECT_EQ(view_.rows, (std::vector<FakeScanView::Row>{{big, L"3145728 kb", L"清除成功"},
                                                        {file, L"4 kb", L"清除成功"}}));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(FileExists(big));
}

TEST_F(EngineWinTest, FileHeldOpenByAnotherProcessFailsAndStays) {
  const std::wstring dir = MakeScratchFolder(L"locked");
  const std::wstring file = dir + L"\\busy.tmp";
  ASSERT_TRUE(WriteFileBytes(file, "data"));
  ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  HANDLE locker = HoldOpen(file, dir + L"\\..\\locked.marker");
  ASSERT_NE(locker, nullptr);
  Engine(JunkCleanerConfig(JunkEnding)).WalkFolder(dir);
  EndProcess(locker);
  ASSERT_EQ(view_.rows.size(), 1u);
  EXPECT_EQ(view_.rows[0].status, L"清除失败");
  EXPECT_TRUE(FileExists(file));
  // Its attributes were reset all the same (Wine adds the archive bit).
  const DWORD attributes = ::GetFileAttributesW(file.c_str());
  EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
}

// A set of files goes whole or not at all, against the real file system:
// a member held open by another process without delete sharing (a running
// browser's database) or a member that is a link keeps every file, and
// what lies behind the link is never reached; a read-only, hidden member
// goes with the others.
TEST_F(EngineWinTest, FileSetGoesWholeOrNotAtAll) {
  const struct {
    const char* what;
    const wchar_t* held;  // a member another process holds, or none
    bool link;            // the set of C:\setlink, with its linked member
    const wchar_t* outcome;
  } cases[] = {
      {"plain", nullptr, false, L"清除成功"},
      {"held", L"History-journal", false, L"清除失败"},
      {"link", nullptr, true, L"清除失败"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    view_.rows.clear();
    std::vector<std::wstring> set;
    if (c.link) {
      set = {L"C:\\setlink\\History", L"C:\\setlink\\Visited Links"};
    } else {
      const std::wstring dir =
          MakeScratchFolder(std::wstring(L"set-") + (c.held ? L"held" : L"plain"));
      for (const wchar_t* name : {L"History", L"History-journal", L"Top Sites"}) {
        set.push_back(dir + L"\\" + name);
        ASSERT_TRUE(WriteFileBytes(set.back(), std::string(3000, 'h')));
      }
      ::SetFileAttributesW(set[2].c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }
    HANDLE locker = c.held ? HoldOpen(set[1], set[0] + L".marker") : nullptr;
    ASSERT_EQ(locker != nullptr, c.held != nullptr);
    Engine(TempCleanerConfig(nullptr)).DeleteFileSet(set);
    if (locker)
      EndProcess(locker);
    // The link to a folder is no file of the set: no row of its own.
    if (c.link)
      set.pop_back();
    ASSERT_EQ(view_.rows.size(), set.size());
    for (size_t i = 0; i < set.size(); ++i) {
      EXPECT_EQ(view_.rows[i].item, set[i]);
      EXPECT_EQ(view_.rows[i].status, c.outcome);
      EXPECT_EQ(FileExists(set[i]), c.outcome != std::wstring(L"清除成功")) << set[i];
    }
  }
  std::string canary;
  ASSERT_TRUE(testing_support::ReadFileBytes(L"C:\\setcanary\\precious.doc", &canary));
  EXPECT_EQ(canary, "canary\n");
}

TEST_F(EngineWinTest, LinkToAFolderOutsideIsNeverFollowed) {
  // Prepared by the fixture: C:\linktree\link and C:\linktree\sub\link2
  // lead to C:\canary.
  const DWORD link = ::GetFileAttributesW(L"C:\\linktree\\link");
  ASSERT_NE(link, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(link & FILE_ATTRIBUTE_REPARSE_POINT);
  for (auto config : {TempCleanerConfig(nullptr), JunkCleanerConfig(JunkEnding)}) {
    Engine(std::move(config)).WalkFolder(L"C:\\linktree");
  }
  EXPECT_FALSE(FileExists(L"C:\\linktree\\inside.tmp"));
  EXPECT_FALSE(FileExists(L"C:\\linktree\\sub\\deeper.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\canary\\precious.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\canary\\precious.doc"));
  for (const auto& s : files_.entered) {
    EXPECT_EQ(s.find(L"\\link\\"), std::wstring::npos) << s;
    EXPECT_EQ(s.find(L"\\link2\\"), std::wstring::npos) << s;
  }
  EXPECT_FALSE(files_.entered.empty());
}

TEST_F(EngineWinTest, DrivesOfEveryTypeVisitedInOrder) {
  // From the fixture: C: fixed, D: CD-ROM, E: network, F: RAM disk,
  // G: floppy, H: fixed.
  const struct {
    const wchar_t* root;
    unsigned type;
  } expected[] = {{L"C:\\", DRIVE_FIXED},   {L"D:\\", DRIVE_CDROM},     {L"E:\\", DRIVE_REMOTE},
                  {L"F:\\", DRIVE_RAMDISK}, {L"G:\\", DRIVE_REMOVABLE}, {L"H:\\", DRIVE_FIXED}};
  for (const auto& e : expected)
    EXPECT_EQ(drives_.DriveType(e.root), e.type) << e.root;
  const std::wstring list = drives_.LogicalDriveStrings(256);
  EXPECT_EQ(list.size(), 256u);
  EXPECT_EQ(list.substr(0, 12), std::wstring(L"C:\\\0D:\\\0E:\\\0", 12));

  // A test that takes only the planted "never.tmp": the fixed and RAM disk
  // drives before the floppy are walked and lose theirs; the CD-ROM and the
  // network drive are skipped, and the floppy ends the walk, so the fixed
  // drive after it keeps its file.
  Engine(JunkCleanerConfig([](const std::wstring& path) {
    return common::RightChars(path, 10) == L"\\never.tmp";
  })).ScanAllDrives();
  std::vector<std::wstring> roots;
  for (const auto& s : files_.entered)
    if (s.size() == 3)
      roots.push_back(s);  // "X:\"
  EXPECT_EQ(roots, (std::vector<std::wstring>{L"C:\\", L"F:\\"}));
  Texts items = Items(view_);
  std::erase(items, L"autorun.inf");
  EXPECT_EQ(items, (Texts{L"C:\\never.tmp", L"F:\\never.tmp"}));
  for (const wchar_t* gone : {L"C:\\never.tmp", L"F:\\never.tmp"})
    EXPECT_FALSE(FileExists(gone)) << gone;
  for (const wchar_t* kept :
       {L"D:\\never.tmp", L"E:\\never.tmp", L"G:\\never.tmp", L"H:\\never.tmp"})
    EXPECT_TRUE(FileExists(kept)) << kept;
  EXPECT_EQ(view_.messages.back().text,
            L"此次搜索操作中发现垃圾：" + std::to_wstring(view_.rows.size()) + L"项！！！");
}

TEST_F(EngineWinTest, AutorunAtDriveRootIsRemovedWithItsRow) {
  const std::wstring autorun = L"F:\\autorun.inf";
  ASSERT_TRUE(WriteFileBytes(autorun, "[autorun]\r\n"));
  ASSERT_TRUE(::SetFileAttributesW(
      autorun.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
  // On the network drive and beyond the floppy: never touched.
  const std::wstring kept[] = {L"E:\\autorun.inf", L"H:\\autorun.inf"};
  for (const std::wstring& k : kept)
    ASSERT_TRUE(WriteFileBytes(k, "[autorun]\r\n"));
  Engine(JunkCleanerConfig([](const std::wstring&) { return false; })).ScanAllDrives();
  const auto it = std::find(view_.rows.begin(), view_.rows.end(),
                            FakeScanView::Row{L"autorun.inf", autorun, L"删除成功"});
  EXPECT_NE(it, view_.rows.end());
  EXPECT_FALSE(FileExists(autorun));
  for (const std::wstring& k : kept) {
    EXPECT_TRUE(FileExists(k)) << k;
    for (const auto& r : view_.rows)
      EXPECT_NE(r.size, k);
  }
}

// Names that the classic path rules would rewrite, made on the Unix side:
// "index.dat." would become the protected "index.dat", "x.tmp " would
// lose its blank, and "CON.tmp" and "nul.bak" would become devices. Each
// is handled as itself, and index.dat beside them stays.
TEST_F(EngineWinTest, NamesAreActedOnExactlyAsListed) {
  const struct {
    const wchar_t* folder;
    bool junk_walk;
    std::vector<std::wstring> rows;
    std::vector<std::wstring> kept;
  } cases[] = {
      {L"C:\\oddnames", false,
       {L"CON.tmp", L"index.dat.", L"nul.bak", L"x.tmp ", L"sub.\\inner.tmp"},
       {L"index.dat"}},
      {L"C:\\oddjunk", true,
       {L"CON.tmp", L"nul.bak", L"sub.\\inner.tmp"},
       {L"index.dat", L"index.dat.", L"x.tmp "}},
  };
  for (const auto& c : cases) {
    FakeScanView view;
    view.flags = &flags_;
    ScanEngine engine(flags_, files_, drives_, processes_, view,
                      c.junk_walk ? JunkCleanerConfig(JunkEnding) : TempCleanerConfig(nullptr));
    engine.WalkFolder(c.folder);
    std::vector<std::wstring> rows;
    for (const auto& r : view.rows) {
      rows.push_back(r.item.substr(std::wstring(c.folder).size() + 1));
      EXPECT_EQ(r.status, L"清除成功") << r.item;
      EXPECT_EQ(r.size, L"0 kb") << r.item;
    }
    EXPECT_EQ(rows, c.rows) << c.folder;
    for (const auto& name : c.rows)
      EXPECT_FALSE(FileExists(ExtendedPath(std::wstring(c.folder) + L"\\" + name))) << name;
    for (const auto& name : c.kept)
      EXPECT_TRUE(FileExists(ExtendedPath(std::wstring(c.folder) + L"\\" + name))) << name;
  }
}

TEST(ExtendedPathTest, LiteralForEveryAbsolutePath) {
  const struct {
    const wchar_t* path;
    const wchar_t* extended;
  } cases[] = {
      {L"C:\\a\\index.dat.", L"\\\\?\\C:\\a\\index.dat."},
      {L"C:\\a\\x.tmp ", L"\\\\?\\C:\\a\\x.tmp "},
      {L"C:\\a\\CON.tmp", L"\\\\?\\C:\\a\\CON.tmp"},
      {L"C:\\sub.\\", L"\\\\?\\C:\\sub.\\"},
      {L"C:\\", L"\\\\?\\C:\\"},
      {L"\\\\server\\share\\f.tmp", L"\\\\?\\UNC\\server\\share\\f.tmp"},
      {L"\\\\?\\C:\\already", L"\\\\?\\C:\\already"},
      {L"C:\\a\\.\\b\\..\\c", L"\\\\?\\C:\\a\\c"},
      {L"C:/a/b", L"\\\\?\\C:\\a\\b"},
      {L"relative\\x.tmp", L"relative\\x.tmp"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ExtendedPath(c.path), c.extended) << c.path;
}

// A start folder that is a link (made on the Unix side by the fixture)
// leads to canaries: a run over it, alone or in a list, deletes nothing.
TEST_F(EngineWinTest, StartFolderThatIsALinkIsNotWalked) {
  const DWORD link = ::GetFileAttributesW(L"C:\\startlink");
  ASSERT_NE(link, INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(link & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(files_.HoldFolder(L"C:\\startlink"), nullptr);
  EXPECT_EQ(files_.HoldFolder(L"C:\\startlink\\"), nullptr);
  EXPECT_NE(files_.HoldFolder(L"C:\\canary"), nullptr);
  EXPECT_NE(files_.HoldFolder(L"C:\\"), nullptr);
  for (const wchar_t* target : {L"C:\\startlink", L"C:\\startlink;C:\\missing"}) {
    view_.target = target;
    Engine(TempCleanerConfig(nullptr)).RunScan();
    EXPECT_TRUE(view_.rows.empty()) << target;
  }
  Engine(JunkCleanerConfig(JunkEnding)).WalkFolder(L"C:\\linktree\\link");
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_TRUE(FileExists(L"C:\\canary\\precious.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\canary\\precious.doc"));
}

// While the walk is inside a folder, another program cannot rename it or
// any folder above it up to the start folder (and so cannot put a link in
// its place); once the walk has left, it can.
TEST_F(EngineWinTest, FolderBeingWalkedCannotBeRenamedByAnotherProcess) {
  const std::wstring top = MakeScratchFolder(L"held");
  const std::wstring sub = top + L"\\sub";
  ASSERT_TRUE(::CreateDirectoryW(sub.c_str(), nullptr));
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(WriteFileBytes(sub + L"\\f" + std::to_wstring(i) + L".tmp", "x"));
  int sub_rename = -2, top_rename = -2;
  view_.on_yield = [&](int) {
    if (sub_rename != -2 || view_.progress.empty() ||
        view_.progress.back().find(L"\\sub\\f") == std::wstring::npos)
      return;
    sub_rename = testing_support::RunTool(L"path_mover.exe \"" + sub + L"\" \"" + sub + L"-moved\"");
    top_rename = testing_support::RunTool(L"path_mover.exe \"" + top + L"\" \"" + top + L"-moved\"");
  };
  Engine(JunkCleanerConfig(JunkEnding)).WalkFolder(top);
  EXPECT_EQ(sub_rename, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(top_rename, ERROR_SHARING_VIOLATION);
  EXPECT_EQ(view_.rows.size(), 3u);
  EXPECT_EQ(testing_support::RunTool(L"path_mover.exe \"" + sub + L"\" \"" + sub + L"-moved\""), 0);
}

// Between its parent's listing and the walk's entry, "sub" is replaced by
// a link to canaries from the Unix side (the fixture's watcher). The walk
// checks at the entry and does not follow it.
TEST_F(EngineWinTest, SubfolderReplacedByALinkAfterItsParentsListingIsNotFollowed) {
  bool swapped = false;
  view_.on_yield = [&](int) {
    if (swapped || view_.progress.empty() ||
        view_.progress.back() != L"正在检查：C:\\swaptree\\sub2")
      return;
    ASSERT_TRUE(WriteFileBytes(L"C:\\swap.go", "go"));
    swapped = testing_support::PumpUntil([] { return FileExists(L"C:\\swap.done"); }, 10000);
  };
  Engine(TempCleanerConfig(nullptr)).WalkFolder(L"C:\\swaptree");
  ASSERT_TRUE(swapped);
  EXPECT_TRUE(::GetFileAttributesW(L"C:\\swaptree\\sub") & FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(Items(view_), (Texts{L"C:\\swaptree\\a.tmp", L"C:\\swaptree\\z.tmp",
                                L"C:\\swaptree\\sub2\\x.tmp"}));
  EXPECT_TRUE(FileExists(L"C:\\swapcanary\\precious.tmp"));
  EXPECT_TRUE(FileExists(L"C:\\swaptree\\sub-real\\inner.tmp"));
}

TEST_F(EngineWinTest, ProcessPhaseShowsARunningHelper) {
  // The phase names each process by its main module, read from that
  // process's memory: nothing to show where no such read can succeed.
  const std::wstring not_applicable = testing_support::NoProcessMemoryUnderEmulation();
  if (!not_applicable.empty())
    GTEST_SKIP() << not_applicable;
  const std::wstring helper = TestProgramFolder() + L"\\cmdline_recorder.exe";
  HANDLE process = StartRecorder(helper);
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(EnableDebugPrivilege());
  Engine(TempCleanerConfig(nullptr)).ScanProcesses();
  EndProcess(process);
  EXPECT_TRUE(Shown(view_, L"正在扫描：" + helper + L"...")) << "texts: " << view_.progress.size();
  EXPECT_EQ(view_.yields, 0);
}

// ---- on 64-bit Windows ---------------------------------------------------------------

// The walks and the process phase as 64-bit Windows shows them, for the
// 32-bit build (under WOW64) as for the 64-bit one; in a 32-bit prefix the
// fixture puts a plain SysWOW64 beside the one system folder. The prefix's
// own programs reach the system folder as testing_support::NativeSystemFolder.
using Wow64EngineWinTest = EngineWinTest;

// System32 is the native folder and SysWOW64 is itself, each file under its
// own name; a link there is not followed, and a folder being walked there
// is held: the native folder cannot be renamed while the walk is below it.
TEST_F(Wow64EngineWinTest, SystemFoldersAreWalkedEachAsItself) {
  const std::wstring native = testing_support::NativeSystemFolder() + L"\\suite-walk";
  int rename = -2;
  view_.on_yield = [&](int) {
    if (rename == -2 && !view_.progress.empty() &&
        view_.progress.back().find(L"system32\\suite-walk\\sub\\a._wj") != std::wstring::npos)
      rename =
          testing_support::RunTool(L"path_mover.exe \"" + native + L"\" \"" + native + L"-moved\"");
  };
  auto walk_junk = [](const std::wstring& path) { return common::RightChars(path, 4) == L"._wj"; };
  Engine(JunkCleanerConfig(walk_junk)).WalkFolder(L"C:\\windows\\system32\\suite-walk");
  Engine(JunkCleanerConfig(walk_junk)).WalkFolder(L"C:\\windows\\syswow64\\suite-walk");
  EXPECT_EQ(view_.rows,
            (std::vector<FakeScanView::Row>{
                {L"C:\\windows\\system32\\suite-walk\\native._wj", L"0 kb", L"清除成功"},
                {L"C:\\windows\\system32\\suite-walk\\sub\\a._wj", L"0 kb", L"清除成功"},
                {L"C:\\windows\\system32\\suite-walk\\sub\\b._wj", L"0 kb", L"清除成功"},
                {L"C:\\windows\\syswow64\\suite-walk\\wow._wj", L"0 kb", L"清除成功"}}));
  EXPECT_EQ(rename, ERROR_SHARING_VIOLATION);
  EXPECT_FALSE(FileExists(native + L"\\native._wj"));
  EXPECT_TRUE(FileExists(L"C:\\canary\\precious._wj"));
  EXPECT_EQ(files_.entered, (std::vector<std::wstring>{
                                L"C:\\windows\\system32\\suite-walk\\",
                                L"C:\\windows\\system32\\suite-walk\\sub\\",
                                L"C:\\windows\\syswow64\\suite-walk\\",
                            }));
}

// A process of the Windows that runs (a 64-bit one, whose modules a 32-bit
// program cannot read) is named by its program file.
TEST_F(Wow64EngineWinTest, ProcessPhaseNamesAProcessOfTheNativeForm) {
  const bool under_wow64 = testing_support::PrefixIs64Bit() && sizeof(void*) == 4;
  // Outside WOW64 the name comes from the process's memory, which no
  // process reads under a user-mode emulator.
  const std::wstring not_applicable = testing_support::NoProcessMemoryUnderEmulation();
  if (!under_wow64 && !not_applicable.empty())
    GTEST_SKIP() << not_applicable;
  const std::wstring helper = TestProgramFolder() + L"\\native\\cmdline_recorder.exe";
  HANDLE process = StartRecorder(helper);
  ASSERT_NE(process, nullptr);
  Engine(JunkCleanerConfig(JunkEnding)).ScanProcesses();
  EndProcess(process);
  EXPECT_TRUE(Shown(view_, L"正在检查：" + helper + L"...")) << "texts: " << view_.progress.size();
}

TEST_F(EngineWinTest, NamesOutsideTheAnsiCodePageAndLongPaths) {
  const std::wstring dir = MakeScratchFolder(L"names");
  const std::wstring odd = dir + L"\\한국어ñ.tmp";  // not in code page 936
  ASSERT_TRUE(WriteFileBytes(odd, "x"));
  std::wstring plain = dir;
  while (plain.size() < 320) {
    plain += L"\\folder_with_a_long_name";
    ASSERT_TRUE(::CreateDirectoryW(ExtendedPath(plain).c_str(), nullptr)) << plain.size();
  }
  ASSERT_TRUE(WriteFileBytes(ExtendedPath(plain + L"\\far.tmp"), "x"));
  Engine(JunkCleanerConfig(JunkEnding)).WalkFolder(dir);
  for (const auto& r : view_.rows)
    EXPECT_EQ(r.status, L"清除成功") << r.item;
  EXPECT_EQ(Items(view_), (Texts{odd, plain + L"\\far.tmp"}));
}

// The list and its status bar on a window of their own.
class ResultListWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(
        host_.Create(L"SuiteResultHost", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 0, 700, 400, nullptr));
  }
  void Make(ResultList& list) { list.Create(host_.hwnd(), 100, 101, RECT{10, 10, 600, 300}, nullptr); }
  struct Host : common::Window {
  } host_;
};

TEST_F(ResultListWinTest, RowsProgressAndColumns) {
  ResultList list;
  Make(list);
  wchar_t class_name[64];
  ::GetClassNameW(list.list(), class_name, 64);
  EXPECT_STREQ(class_name, L"SysListView32");
  ::GetClassNameW(list.status(), class_name, 64);
  EXPECT_STREQ(class_name, L"msctls_statusbar32");

  HWND header = reinterpret_cast<HWND>(::SendMessageW(list.list(), LVM_GETHEADER, 0, 0));
  ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
  const wchar_t* titles[] = {L"文件路径", L"文件大小", L"状态"};
  const int widths[] = {400, 133, 96};
  for (int i = 0; i < 3; ++i) {
    wchar_t text[64] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = 64;
    ::SendMessageW(list.list(), LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(text, titles[i]);
    EXPECT_EQ(column.cx, widths[i]);
  }

  list.AddRow(L"C:\\a.tmp", L"2 kb", L"清除成功");
  list.AddRow(L"autorun.inf", L"E:\\autorun.inf", L"删除失败");
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(1, 0), L"autorun.inf");
  EXPECT_EQ(list.CellText(1, 1), L"E:\\autorun.inf");
  EXPECT_EQ(list.CellText(0, 2), L"清除成功");
  list.ClearRows();
  EXPECT_EQ(list.RowCount(), 0);

  // Texts coming faster than the interval wait; the latest one wins.
  list.SetProgress(L"first");
  for (int i = 0; i < 100; ++i)
    list.SetProgress(L"text " + std::to_wstring(i));
  EXPECT_EQ(list.LatestProgress(), L"text 99");
  ::Sleep(ResultList::kProgressInterval + 10);
  list.Yield();
  list.Yield();
  EXPECT_EQ(list.ShownProgress(), L"text 99");
}

// The clock is read on some calls only; whatever the calls, a text waits
// no longer than the interval and a few calls, and the latest one wins.
TEST_F(ResultListWinTest, WaitingTextsReachTheStatusBar) {
  struct Case {
    const char* what;
    bool yields;     // a walk: yields between the texts; else the process phase
    int calls_left;  // calls after the interval within which the text shows
  };
  const Case cases[] = {
      {"walk", true, static_cast<int>(ResultList::kYieldsPerClockRead)},
      {"process phase", false, static_cast<int>(ResultList::kTextsPerClockRead)},
  };
  for (const Case& c : cases) {
    ResultList list;
    Make(list);
    // Nothing shown for long: the first text is shown at once.
    list.SetProgress(L"at once");
    EXPECT_EQ(list.ShownProgress(), L"at once") << c.what;
    // The next ones wait for the interval, whatever the calls in between.
    for (int i = 0; i < 50; ++i) {
      list.SetProgress(L"waiting " + std::to_wstring(i));
      if (c.yields)
        list.Yield();
    }
    EXPECT_EQ(list.ShownProgress(), L"at once") << c.what;
    ::Sleep(ResultList::kProgressInterval + 10);
    int calls = 0;
    std::wstring latest;
    while (calls < c.calls_left && list.ShownProgress() == L"at once") {
      latest = L"latest " + std::to_wstring(calls);
      if (c.yields) {
        list.Yield();
      } else {
        list.SetProgress(latest);
      }
      ++calls;
    }
    EXPECT_EQ(list.ShownProgress(), c.yields ? L"waiting 49" : latest) << c.what;
    EXPECT_LE(calls, c.calls_left) << c.what;
  }
}

}  // namespace
}  // namespace engine
