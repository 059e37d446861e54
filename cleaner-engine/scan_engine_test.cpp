#include "cleaner-engine/scan_engine.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>

#include "common/text_rules.h"
#include "testing/fake_engine_ports.h"

namespace engine {
namespace {

using common::MessageButtons;
using common::MessageIcon;
using common::MessageResult;
using testing_support::FakeDriveList;
using testing_support::FakeFileSystem;
using testing_support::FakeProcessList;
using testing_support::FakeScanView;
using Row = FakeScanView::Row;

// A junk test over a slot table that a test may change during a run.
struct Slots {
  std::vector<std::wstring> values;
  bool Takes(const std::wstring& path) const {
    const std::wstring ending = common::RightChars(path, 4);
    return std::any_of(values.begin(), values.end(),
                       [&](const std::wstring& s) { return !s.empty() && s == ending; });
  }
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { view_.flags = &flags_; }

  ScanEngine& TempEngine() {
    engine_ = std::make_unique<ScanEngine>(flags_, fs_, drives_, processes_, view_,
                                           TempCleanerConfig([this] { ++found_hooks_; }));
    return *engine_;
  }
  ScanEngine& JunkEngine() {
    engine_ = std::make_unique<ScanEngine>(
        flags_, fs_, drives_, processes_, view_,
        JunkCleanerConfig([this](const std::wstring& p) { return slots_.Takes(p); }));
    return *engine_;
  }

  std::vector<std::wstring> RowItems() const {
    std::vector<std::wstring> items;
    for (const auto& r : view_.rows)
      items.push_back(r.item);
    return items;
  }

  EngineFlags flags_;
  FakeFileSystem fs_;
  FakeDriveList drives_;
  FakeProcessList processes_;
  FakeScanView view_;
  Slots slots_{{L".tmp", L".bak"}};
  int found_hooks_ = 0;
  std::unique_ptr<ScanEngine> engine_;
};

// ---- the clean walk -----------------------------------------------------

TEST_F(EngineTest, CleanWalkWorkedExample) {
  fs_.AddFile(L"C:\\WINDOWS\\Temp\\a.tmp", 2500);
  fs_.AddFile(L"C:\\WINDOWS\\Temp\\x\\b.log", 10);
  fs_.AddFile(L"C:\\WINDOWS\\Temp\\x\\c.txt", 10);
  TempEngine().WalkFolder(L"C:\\WINDOWS\\Temp\\");
  EXPECT_EQ(view_.rows, (std::vector<Row>{
                            {L"C:\\WINDOWS\\Temp\\a.tmp", L"2 kb", L"清除成功"},
                            {L"C:\\WINDOWS\\Temp\\x\\c.txt", L"0 kb", L"清除成功"},
                        }));
  EXPECT_EQ(view_.progress, (std::vector<std::wstring>{
                                L"正在扫描：C:\\WINDOWS\\Temp\\a.tmp",
                                L"正在检查：C:\\WINDOWS\\Temp\\x",
                                L"正在扫描：C:\\WINDOWS\\Temp\\x\\b.log",
                                L"正在扫描：C:\\WINDOWS\\Temp\\x\\c.txt",
                            }));
  EXPECT_TRUE(fs_.Has(L"C:\\WINDOWS\\Temp\\x\\b.log"));
  EXPECT_TRUE(fs_.Has(L"C:\\WINDOWS\\Temp\\x"));  // folders stay
}

TEST_F(EngineTest, CleanWalkSizesAndExclusions) {
  const struct {
    const wchar_t* name;
    uint64_t size;
    const wchar_t* size_text;  // nullptr: excluded, no row
  } cases[] = {
      {L"a1023.bin", 1023, L"0 kb"}, {L"a1024.bin", 1024, L"1 kb"},
      {L"empty.bin", 0, L"0 kb"},    {L"big.bin", 3ull * 1024 * 1024 * 1024, L"3145728 kb"},
      {L"index.dat", 5, nullptr},    {L"setup.log", 5, nullptr},
      {L"desktop.ini", 5, nullptr},  {L"NTUSER.DAT", 5000, L"4 kb"},
      {L"Log.LOG", 5, L"0 kb"},      {L"x.Ini", 5, L"0 kb"},
  };
  for (const auto& c : cases)
    fs_.AddFile(std::wstring(L"C:\\T\\") + c.name, c.size);
  TempEngine().WalkFolder(L"C:\\T");
  for (const auto& c : cases) {
    const std::wstring path = std::wstring(L"C:\\T\\") + c.name;
    const auto it = std::find_if(view_.rows.begin(), view_.rows.end(),
                                 [&](const Row& r) { return r.item == path; });
    if (c.size_text) {
      ASSERT_NE(it, view_.rows.end()) << c.name;
      EXPECT_EQ(it->size, c.size_text) << c.name;
      EXPECT_FALSE(fs_.Has(path)) << c.name;
    } else {
      EXPECT_EQ(it, view_.rows.end()) << c.name;
      EXPECT_TRUE(fs_.Has(path)) << c.name;
    }
  }
}

TEST_F(EngineTest, CleanWalkAttributesAndFailures) {
  fs_.AddFile(L"C:\\T\\hidden.bin", 1, kAttributeHidden | kAttributeReadOnly);
  fs_.AddFile(L"C:\\T\\locked.bin", 1, kAttributeReadOnly | kAttributeSystem);
  fs_.Find(L"C:\\T\\locked.bin")->locked = true;
  fs_.AddFile(L"C:\\T\\vanish.bin", 1);
  fs_.Find(L"C:\\T\\vanish.bin")->vanishes = true;
  fs_.AddFile(L"C:\\T\\.cache\\keep.bin", 1);
  fs_.AddFile(L"C:\\T\\.tmp", 1);  // a file named by its ending only
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_EQ(view_.rows, (std::vector<Row>{
                            {L"C:\\T\\.tmp", L"0 kb", L"清除成功"},
                            {L"C:\\T\\hidden.bin", L"0 kb", L"清除成功"},
                            {L"C:\\T\\locked.bin", L"0 kb", L"清除失败"},
                        }));
  ASSERT_TRUE(fs_.Has(L"C:\\T\\locked.bin"));
  EXPECT_EQ(fs_.Find(L"C:\\T\\locked.bin")->attributes, 0u);  // reset all the same
  EXPECT_TRUE(fs_.Has(L"C:\\T\\.cache\\keep.bin"));
  EXPECT_EQ(std::count(fs_.searches.begin(), fs_.searches.end(), L"C:\\T\\.cache\\*.*"), 0);
}

TEST_F(EngineTest, TrailingBackslashGivesIdenticalRows) {
  for (const wchar_t* path : {L"C:\\T", L"C:\\T\\"}) {
    FakeFileSystem fs;
    fs.AddFile(L"C:\\T\\a.bin", 3000);
    fs.AddFile(L"C:\\T\\s\\b.bin", 10);
    FakeScanView view;
    ScanEngine engine(flags_, fs, drives_, processes_, view, TempCleanerConfig(nullptr));
    engine.WalkFolder(path);
    EXPECT_EQ(view.rows, (std::vector<Row>{{L"C:\\T\\a.bin", L"2 kb", L"清除成功"},
                                           {L"C:\\T\\s\\b.bin", L"0 kb", L"清除成功"}}))
        << path;
  }
}

TEST_F(EngineTest, FolderWithOnlySubfoldersShowsTextsButNoRows) {
  fs_.AddFolder(L"C:\\T\\a");
  fs_.AddFolder(L"C:\\T\\b");
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_EQ(view_.progress,
            (std::vector<std::wstring>{L"正在检查：C:\\T\\a", L"正在检查：C:\\T\\b"}));
}

TEST_F(EngineTest, OrderFilesBeforeSubfoldersDepthFirstAndOneSearchOpen) {
  fs_.AddFile(L"C:\\T\\z.bin");
  fs_.AddFile(L"C:\\T\\a\\1.bin");
  fs_.AddFile(L"C:\\T\\a\\deep\\2.bin");
  fs_.AddFile(L"C:\\T\\b\\3.bin");
  fs_.AddFile(L"C:\\T\\m.bin");
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(),
            (std::vector<std::wstring>{L"C:\\T\\m.bin", L"C:\\T\\z.bin", L"C:\\T\\a\\1.bin",
                                       L"C:\\T\\a\\deep\\2.bin", L"C:\\T\\b\\3.bin"}));
  EXPECT_EQ(fs_.max_open_searches, 1);
  EXPECT_EQ(fs_.open_searches, 0);
}

TEST_F(EngineTest, YieldsOncePerEntryAndAgainPerFile) {
  fs_.AddFile(L"C:\\T\\a.bin");
  fs_.AddFile(L"C:\\T\\b.log");
  fs_.AddFolder(L"C:\\T\\sub");
  TempEngine().WalkFolder(L"C:\\T");
  // Entries of C:\T: ".", "..", a.bin, b.log, sub = 5, plus 2 for the files;
  // then ".", ".." of sub.
  EXPECT_EQ(view_.yields, 5 + 2 + 2);
}

TEST_F(EngineTest, MissingFolderGivesNothing) {
  TempEngine().WalkFolder(L"C:\\Missing");
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_TRUE(view_.progress.empty());
}

TEST_F(EngineTest, ReparsePointsAreNeverEntered) {
  fs_.AddFile(L"C:\\T\\a.bin");
  // A junction inside the tree that the platform would resolve to a folder
  // of canaries elsewhere: its entry carries the reparse bit.
  fs_.AddFolder(L"C:\\T\\link", kAttributeReparsePoint);
  fs_.AddFile(L"C:\\T\\link\\canary.bin");
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\T\\a.bin"}));
  EXPECT_TRUE(fs_.Has(L"C:\\T\\link\\canary.bin"));
  EXPECT_EQ(std::count(fs_.searches.begin(), fs_.searches.end(), L"C:\\T\\link\\*.*"), 0);
}

// A start folder that is itself a link (a junction made at a drive root,
// a temporary folder moved elsewhere) leads out of what the user chose: it
// is not walked, in either form of the target.
TEST_F(EngineTest, StartFolderThatIsALinkIsNotWalked) {
  fs_.AddFolder(L"C:\\Recycled", kAttributeReparsePoint);
  fs_.AddFile(L"C:\\Recycled\\letter.doc", 3000);
  fs_.AddFile(L"C:\\Recycled\\photo.jpg", 9000);
  fs_.AddFile(L"C:\\Recycler\\S-1-5\\Dc1.txt", 10);
  const struct {
    const wchar_t* target;
    std::vector<std::wstring> rows;
  } cases[] = {
      {L"C:\\Recycled", {}},
      {L"C:\\Recycled\\", {}},
      {L"C:\\Recycled;D:\\Recycled;C:\\Recycler", {L"C:\\Recycler\\S-1-5\\Dc1.txt"}},
  };
  for (const auto& c : cases) {
    view_.target = c.target;
    TempEngine().RunScan();
    EXPECT_EQ(RowItems(), c.rows) << c.target;
    EXPECT_TRUE(fs_.Has(L"C:\\Recycled\\letter.doc")) << c.target;
    EXPECT_TRUE(fs_.Has(L"C:\\Recycled\\photo.jpg")) << c.target;
  }
  EXPECT_EQ(std::count(fs_.searches.begin(), fs_.searches.end(), L"C:\\Recycled\\*.*"), 0);
  EXPECT_EQ(fs_.open_holds, 0);
}

// Between the listing of a folder and the walk's entry into one of its
// subfolders, the whole rest of the folder is handled: another program can
// replace the subfolder by a link meanwhile. The walk checks at the entry,
// and holds every folder of its current path, so a folder it is inside
// cannot be replaced at all.
TEST_F(EngineTest, FolderReplacedByALinkAfterTheListingIsNotFollowed) {
  fs_.AddFile(L"C:\\T\\a.bin");
  fs_.AddFile(L"C:\\T\\sub\\canary.doc");
  fs_.AddFile(L"C:\\T\\sub2\\b.bin");
  fs_.AddFile(L"C:\\T\\z.bin");
  bool swapped = false, refused_inside = false;
  std::vector<std::wstring> held_inside;
  view_.on_yield = [&](int) {
    // After "sub" and "sub2" were listed, before "z.bin": the swap works.
    if (!swapped && !view_.progress.empty() && view_.progress.back() == L"正在检查：C:\\T\\sub2")
      swapped = fs_.ReplaceWithLink(L"C:\\T\\sub");
    // Inside "sub2": neither it nor the start folder can be replaced.
    if (held_inside.empty() && fs_.IsHeld(L"C:\\T\\sub2")) {
      refused_inside = !fs_.ReplaceWithLink(L"C:\\T\\sub2") && !fs_.ReplaceWithLink(L"C:\\T");
      for (const wchar_t* f : {L"C:\\T", L"C:\\T\\sub", L"C:\\T\\sub2"})
        if (fs_.IsHeld(f))
          held_inside.push_back(f);
    }
  };
  TempEngine().WalkFolder(L"C:\\T");
  ASSERT_TRUE(swapped);
  EXPECT_TRUE(refused_inside);
  EXPECT_EQ(held_inside, (std::vector<std::wstring>{L"C:\\T", L"C:\\T\\sub2"}));
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\T\\a.bin", L"C:\\T\\z.bin",
                                                   L"C:\\T\\sub2\\b.bin"}));
  EXPECT_TRUE(fs_.Has(L"C:\\T\\sub\\canary.doc"));
  EXPECT_EQ(std::count(fs_.searches.begin(), fs_.searches.end(), L"C:\\T\\sub\\*.*"), 0);
  // Every folder entered was let go again.
  EXPECT_EQ(fs_.open_holds, 0);
  EXPECT_EQ(fs_.holds,
            (std::vector<std::wstring>{L"C:\\T\\", L"C:\\T\\sub\\", L"C:\\T\\sub2\\"}));
}

// A run never starts inside another: a handler that runs during a yield or
// a message box of a run and starts a run again changes nothing.
TEST_F(EngineTest, NoRunInsideARun) {
  fs_.AddFile(L"C:\\A\\1.tmp");
  fs_.AddFile(L"C:\\A\\2.tmp");
  view_.target = L"C:\\A";
  ScanEngine& engine = TempEngine();
  int nested = 0;
  view_.on_yield = [&](int) {
    ++nested;
    engine.RunScan();
  };
  view_.on_message = [&](const std::wstring&) { engine.RunScan(); };
  engine.RunScan();
  EXPECT_GT(nested, 0);
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\A\\1.tmp", L"C:\\A\\2.tmp"}));
  EXPECT_EQ(view_.states, (std::vector<bool>{false, true}));
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].text, L"此次搜索操作中发现垃圾：2项");
  EXPECT_FALSE(engine.Running());
  // Once it is over, the next run starts as usual.
  view_.on_yield = nullptr;
  view_.on_message = nullptr;
  engine.RunScan();
  EXPECT_EQ(view_.states, (std::vector<bool>{false, true, false, true}));
}

// The walk runs on a thread with a small stack: a walk that recursed once
// per level would overflow it long before the leaf.
TEST_F(EngineTest, DeepTreeDoesNotOverflowTheStack) {
  std::wstring path = L"C:\\T";
  for (int i = 0; i < 1500; ++i)
    path += L"\\d";
  fs_.AddFile(path + L"\\leaf.bin", 1);
  TempEngine();
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 96 * 1024);
  pthread_t thread;
  auto run = [](void* engine) -> void* {
    static_cast<ScanEngine*>(engine)->WalkFolder(L"C:\\T");
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, engine_.get()), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  ASSERT_EQ(view_.rows.size(), 1u);
  EXPECT_EQ(view_.rows[0].item, path + L"\\leaf.bin");
}

TEST_F(EngineTest, ManySubfoldersBeyondSixteenBits) {
  for (int i = 0; i < 40000; ++i)
    fs_.AddFolder(L"C:\\T\\f" + std::to_wstring(i));
  fs_.AddFile(L"C:\\T\\f39999\\x.bin");
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\T\\f39999\\x.bin"}));
}

TEST_F(EngineTest, StopInThirdLevelEndsWalkWithoutOpeningMore) {
  fs_.AddFile(L"C:\\T\\1\\2\\3\\a.bin");
  fs_.AddFile(L"C:\\T\\1\\2\\3\\b.bin");
  fs_.AddFile(L"C:\\T\\1\\2\\3\\c.bin");
  fs_.AddFile(L"C:\\T\\1\\2\\later\\x.bin");
  fs_.AddFile(L"C:\\T\\1\\sibling\\y.bin");
  fs_.AddFile(L"C:\\T\\z\\w.bin");
  TempEngine();
  view_.on_message = nullptr;
  // Stop confirmed during the handling of b.bin.
  view_.on_yield = [this](int) {
    if (!view_.progress.empty() && view_.progress.back() == L"正在扫描：C:\\T\\1\\2\\3\\a.bin")
      flags_.stopRequested = true;
  };
  engine_->WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\T\\1\\2\\3\\a.bin"}));
  EXPECT_EQ(fs_.searches.back(), L"C:\\T\\1\\2\\3\\*.*");
  EXPECT_EQ(fs_.open_searches, 0);
}

// ---- the junk walk --------------------------------------------------------

TEST_F(EngineTest, JunkWalkOrderAndMatching) {
  fs_.AddFile(L"C:\\J\\x.tmp", 2048);
  fs_.AddFile(L"C:\\J\\sub\\y.tmp", 1023);
  fs_.AddFile(L"C:\\J\\REPORT.TMP", 1);
  fs_.AddFile(L"C:\\J\\keep.txt", 1);
  fs_.AddFile(L"C:\\J\\a.bak", 1, kAttributeHidden | kAttributeReadOnly);
  fs_.AddFile(L"C:\\J\\.cache\\z.tmp", 1);
  JunkEngine().WalkFolder(L"C:\\J");
  EXPECT_EQ(view_.rows, (std::vector<Row>{{L"C:\\J\\a.bak", L"0 kb", L"清除成功"},
                                          {L"C:\\J\\x.tmp", L"2 kb", L"清除成功"},
                                          {L"C:\\J\\sub\\y.tmp", L"0 kb", L"清除成功"}}));
  EXPECT_TRUE(fs_.Has(L"C:\\J\\REPORT.TMP"));
  EXPECT_TRUE(fs_.Has(L"C:\\J\\keep.txt"));
  EXPECT_TRUE(fs_.Has(L"C:\\J\\.cache\\z.tmp"));
  // Every file is shown, matched or not; the subfolder with this walk's text.
  EXPECT_NE(std::find(view_.progress.begin(), view_.progress.end(), L"正在扫描：C:\\J\\keep.txt"),
            view_.progress.end());
  EXPECT_NE(std::find(view_.progress.begin(), view_.progress.end(), L"正在扫描：C:\\J\\sub"),
            view_.progress.end());
}

TEST_F(EngineTest, JunkWalkLockedFileLosesAttributesAndStays) {
  fs_.AddFile(L"C:\\J\\x.tmp", 1, kAttributeHidden | kAttributeSystem | kAttributeReadOnly);
  fs_.Find(L"C:\\J\\x.tmp")->locked = true;
  JunkEngine().WalkFolder(L"C:\\J");
  EXPECT_EQ(view_.rows, (std::vector<Row>{{L"C:\\J\\x.tmp", L"0 kb", L"清除失败"}}));
  EXPECT_EQ(fs_.Find(L"C:\\J\\x.tmp")->attributes, 0u);
}

TEST_F(EngineTest, JunkWalkWithEmptySlotsShowsEverythingDeletesNothing) {
  slots_.values.assign(27, L"");
  fs_.AddFile(L"C:\\J\\a.tmp");
  fs_.AddFile(L"C:\\J\\s\\b.bak");
  JunkEngine().WalkFolder(L"C:\\J");
  EXPECT_TRUE(view_.rows.empty());
  EXPECT_EQ(view_.progress,
            (std::vector<std::wstring>{L"正在扫描：C:\\J\\a.tmp", L"正在扫描：C:\\J\\s",
                                       L"正在扫描：C:\\J\\s\\b.bak"}));
}

TEST_F(EngineTest, SlotChangedDuringRunAppliesFromNextFile) {
  for (const wchar_t* n : {L"1.tmp", L"2.tmp", L"3.tmp", L"4.jpg"})
    fs_.AddFile(std::wstring(L"C:\\J\\") + n);
  JunkEngine();
  // While 2.tmp waits in its second yield the user unticks "*.tmp" and types
  // an ending into a custom field.
  view_.on_yield = [this](int) {
    if (!view_.progress.empty() && view_.progress.back() == L"正在扫描：C:\\J\\1.tmp" &&
        view_.rows.size() == 1) {
      slots_.values = {L".jpg"};
    }
  };
  engine_->WalkFolder(L"C:\\J");
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\J\\1.tmp", L"C:\\J\\4.jpg"}));
}

// ---- deleting and reporting -------------------------------------------------

TEST_F(EngineTest, DeleteFileCheckedReportsHiddenSurvivorAsFailed) {
  fs_.AddFile(L"C:\\D\\stays.bin", 1, kAttributeHidden);
  fs_.Find(L"C:\\D\\stays.bin")->remove_leaves_hidden = true;
  fs_.AddFile(L"C:\\D\\gone.bin", 1, kAttributeReadOnly | kAttributeSystem);
  fs_.AddFile(L"C:\\D\\noattrs.bin", 1, kAttributeReadOnly);
  fs_.Find(L"C:\\D\\noattrs.bin")->attributes_fail = true;
  ScanEngine& e = TempEngine();
  EXPECT_FALSE(e.DeleteFileChecked(L"C:\\D\\stays.bin"));
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\gone.bin"));
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\never-there.bin"));
  EXPECT_FALSE(e.DeleteFileChecked(L"C:\\D\\noattrs.bin"));
  EXPECT_TRUE(fs_.Has(L"C:\\D\\noattrs.bin"));
  fs_.AddFolder(L"C:\\D\\folder");
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\folder"));  // folders do not count
  EXPECT_TRUE(fs_.Has(L"C:\\D\\folder"));
}

TEST_F(EngineTest, ClearReadOnlyOnlyTouchesReadOnlyFiles) {
  fs_.AddFile(L"C:\\a", 0, kAttributeReadOnly | kAttributeHidden);
  fs_.AddFile(L"C:\\b", 0, kAttributeHidden);
  ScanEngine& e = TempEngine();
  EXPECT_TRUE(e.ClearReadOnly(L"C:\\a"));
  EXPECT_TRUE(e.ClearReadOnly(L"C:\\b"));
  EXPECT_FALSE(e.ClearReadOnly(L"C:\\missing"));
  EXPECT_EQ(fs_.Find(L"C:\\a")->attributes, 0u);
  EXPECT_EQ(fs_.Find(L"C:\\b")->attributes, kAttributeHidden);
}

// ---- the whole-disk walk ------------------------------------------------------

TEST_F(EngineTest, DriveOrderAndSkips) {
  const struct {
    std::vector<FakeDriveList::Drive> drives;
    std::vector<std::wstring> walked;
  } cases[] = {
      {{{L"A:\\", kDriveRemovable},
        {L"C:\\", kDriveFixed},
        {L"D:\\", kDriveCdRom},
        {L"E:\\", kDriveFixed}},
       {L"C:\\*.*", L"E:\\*.*"}},
      {{{L"C:\\", kDriveFixed}, {L"F:\\", kDriveRemovable}, {L"G:\\", kDriveFixed}}, {L"C:\\*.*"}},
      // A network drive between fixed ones is passed over, its autorun.inf
      // and junk left; the walk goes on with the next drive.
      {{{L"b:\\", kDriveFixed},
        {L"C:\\", kDriveFixed},
        {L"N:\\", kDriveRemote},
        {L"R:\\", kDriveRamDisk},
        {L"X:\\", kDriveUnknown},
        {L"Y:\\", kDriveFixed}},
       {L"C:\\*.*", L"R:\\*.*", L"X:\\*.*", L"Y:\\*.*"}},
  };
  for (const auto& c : cases) {
    FakeFileSystem fs;
    fs.AddFile(L"N:\\autorun.inf", 10);
    fs.AddFile(L"N:\\x.tmp", 10);
    FakeScanView view;
    FakeDriveList drives;
    drives.drives = c.drives;
    ScanEngine engine(flags_, fs, drives, processes_, view, JunkCleanerConfig(nullptr));
    engine.ScanAllDrives();
    // Every drive visited is entered through a hold (these are empty, so
    // nothing more happens there).
    std::vector<std::wstring> entered;
    for (const std::wstring& w : c.walked)
      entered.push_back(w.substr(0, 3));
    EXPECT_EQ(fs.holds, entered);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(fs.Has(L"N:\\autorun.inf") && fs.Has(L"N:\\x.tmp"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, L"此次搜索操作中发现垃圾：0项！！！");
    EXPECT_EQ(view.messages[0].title, L"提示");
    EXPECT_EQ(view.messages[0].icon, MessageIcon::kInformation);
  }
}

TEST_F(EngineTest, AutorunAtRootIsDeletedWithItsRow) {
  drives_.drives = {{L"C:\\", kDriveFixed}, {L"E:\\", kDriveFixed}};
  fs_.AddFile(L"C:\\autorun.inf", 100, kAttributeHidden | kAttributeSystem | kAttributeReadOnly);
  fs_.AddFile(L"C:\\x.tmp", 100);
  fs_.AddFile(L"E:\\autorun.inf", 100);
  fs_.Find(L"E:\\autorun.inf")->locked = true;
  JunkEngine().ScanAllDrives();
  EXPECT_EQ(view_.rows, (std::vector<Row>{{L"autorun.inf", L"C:\\autorun.inf", L"删除成功"},
                                          {L"C:\\x.tmp", L"0 kb", L"清除成功"},
                                          {L"autorun.inf", L"E:\\autorun.inf", L"删除失败"}}));
  EXPECT_EQ(view_.messages.back().text, L"此次搜索操作中发现垃圾：3项！！！");
  EXPECT_EQ(view_.states, (std::vector<bool>{true}));
  EXPECT_FALSE(flags_.scanRunning);
}

TEST_F(EngineTest, StopDuringFirstDriveSkipsTheRest) {
  drives_.drives = {{L"C:\\", kDriveFixed}, {L"E:\\", kDriveFixed}};
  fs_.AddFile(L"C:\\a.tmp");
  fs_.AddFile(L"C:\\b.tmp");
  fs_.AddFile(L"E:\\c.tmp");
  JunkEngine();
  view_.on_yield = [this](int) {
    if (view_.rows.size() == 1)
      flags_.stopRequested = true;
  };
  engine_->ScanAllDrives();
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\a.tmp"}));
  EXPECT_EQ(std::count(fs_.searches.begin(), fs_.searches.end(), L"E:\\*.*"), 0);
  EXPECT_EQ(view_.messages.back().text, L"此次搜索操作中发现垃圾：1项！！！");
  EXPECT_FALSE(flags_.stopRequested);  // the ready state cleared it
}

TEST_F(EngineTest, DriveListTrailingNulsNeverVisited) {
  drives_.drives = {{L"C:\\", kDriveFixed}};
  fs_.AddFile(L"C:\\a.txt");
  JunkEngine().ScanAllDrives();
  EXPECT_EQ(fs_.searches, (std::vector<std::wstring>{L"C:\\*.*"}));
}

// ---- the run sequence ---------------------------------------------------------

TEST_F(EngineTest, StopDuringFirstOfThreeFolders) {
  for (const wchar_t* f : {L"C:\\A", L"C:\\B", L"C:\\C"}) {
    fs_.AddFile(std::wstring(f) + L"\\1.bin");
    fs_.AddFile(std::wstring(f) + L"\\2.bin");
  }
  view_.target = L"C:\\A;C:\\B;C:\\C";
  TempEngine();
  view_.on_yield = [this](int) {
    if (view_.rows.size() == 1 && flags_.scanRunning)
      engine_->StopQuestion();
  };
  engine_->RunScan();
  EXPECT_EQ(RowItems(), (std::vector<std::wstring>{L"C:\\A\\1.bin"}));
  ASSERT_EQ(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[0].text, L"正在清理你确定要终止吗？");
  EXPECT_EQ(view_.messages[0].buttons, MessageButtons::kOkCancelDefaultCancel);
  EXPECT_EQ(view_.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(view_.messages[1].text, L"此次搜索操作中发现垃圾：1项");
  EXPECT_EQ(view_.messages[1].icon, MessageIcon::kQuestion);
  EXPECT_EQ(view_.states, (std::vector<bool>{false, true}));
  EXPECT_TRUE(fs_.Has(L"C:\\B\\1.bin"));
  EXPECT_FALSE(flags_.scanRunning);
  EXPECT_FALSE(flags_.stopRequested);
}

TEST_F(EngineTest, CancelAtStopQuestionLetsRunGoOn) {
  fs_.AddFile(L"C:\\A\\1.bin");
  fs_.AddFile(L"C:\\A\\2.bin");
  view_.target = L"C:\\A;C:\\B";
  TempEngine();
  view_.answers = {MessageResult::kCancel};
  bool asked = false;
  view_.on_yield = [&](int) {
    if (!asked) {
      asked = true;
      engine_->StopQuestion();
      EXPECT_TRUE(flags_.scanRunning);
      EXPECT_FALSE(flags_.stopRequested);
    }
  };
  engine_->RunScan();
  EXPECT_EQ(view_.rows.size(), 2u);
}

TEST_F(EngineTest, SecondStopAfterConfirmedStopAsksNothing) {
  fs_.AddFile(L"C:\\A\\1.bin");
  fs_.AddFile(L"C:\\A\\2.bin");
  view_.target = L"C:\\A;C:\\B";
  TempEngine();
  int stops = 0;
  view_.on_yield = [&](int) {
    if (stops < 2) {
      ++stops;
      engine_->StopQuestion();
    }
  };
  engine_->RunScan();
  // One question, then the summary.
  ASSERT_EQ(view_.messages.size(), 2u);
  EXPECT_EQ(view_.messages[1].text, L"此次搜索操作中没有发现垃圾！");
}

TEST_F(EngineTest, StopQuestionOutsideARunDoesNothing) {
  TempEngine().StopQuestion();
  EXPECT_TRUE(view_.messages.empty());
}

TEST_F(EngineTest, ProcessPhaseOnlyForASingleExistingFolder) {
  processes_.processes = {{100, L"C:\\WINDOWS\\explorer.exe"}};
  fs_.AddFolder(L"C:\\A");
  fs_.AddFolder(L"C:\\B");
  const struct {
    const wchar_t* target;
    bool process_phase;
    const wchar_t* summary;
  } cases[] = {
      {L"C:\\A", true, L"此次搜索操作中没有发现垃圾！"},
      {L"C:\\A;C:\\B", false, L"此次搜索操作中没有发现垃圾！"},
      {L"C:\\Missing", false, L"此次搜索操作中没有发现垃圾！"},
      {L";;C:\\Missing;", false, L"此次搜索操作中没有发现垃圾！"},
  };
  for (const auto& c : cases) {
    FakeScanView view;
    view.target = c.target;
    ScanEngine engine(flags_, fs_, drives_, processes_, view, TempCleanerConfig(nullptr));
    engine.RunScan();
    const bool phase = std::find(view.progress.begin(), view.progress.end(),
                                 L"正在扫描：C:\\WINDOWS\\explorer.exe...") != view.progress.end();
    EXPECT_EQ(phase, c.process_phase) << c.target;
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back().text, c.summary);
    EXPECT_EQ(view.messages.back().icon, MessageIcon::kInformation);
  }
}

TEST_F(EngineTest, SummaryTextsAndRecycleHook) {
  for (int i = 0; i < 12; ++i)
    fs_.AddFile(L"C:\\A\\f" + std::to_wstring(i) + L".bin");
  view_.target = L"C:\\A";
  TempEngine().RunScan();
  EXPECT_EQ(view_.messages.back().text, L"此次搜索操作中发现垃圾：12项");
  EXPECT_EQ(view_.messages.back().title, L"提示");
  EXPECT_EQ(found_hooks_, 1);

  FakeScanView empty_view;
  empty_view.target = L"C:\\A";
  ScanEngine second(flags_, fs_, drives_, processes_, empty_view,
                    TempCleanerConfig([this] { ++found_hooks_; }));
  second.RunScan();
  EXPECT_EQ(empty_view.messages.back().text, L"此次搜索操作中没有发现垃圾！");
  EXPECT_EQ(found_hooks_, 1);  // nothing found: no script
}

TEST_F(EngineTest, RecycleHookRunsBeforeTheSummaryMessage) {
  fs_.AddFile(L"C:\\A\\x.bin");
  view_.target = L"C:\\A";
  engine_ =
      std::make_unique<ScanEngine>(flags_, fs_, drives_, processes_, view_,
                                   TempCleanerConfig([this] { view_.events.push_back(L"hook"); }));
  engine_->RunScan();
  const auto hook = std::find(view_.events.begin(), view_.events.end(), L"hook");
  const auto message =
      std::find(view_.events.begin(), view_.events.end(), L"message:此次搜索操作中发现垃圾：1项");
  ASSERT_NE(hook, view_.events.end());
  EXPECT_LT(hook, message);
}

TEST_F(EngineTest, WholeDiskRunSequence) {
  processes_.processes = {{8, L"C:\\x.exe"}};
  drives_.drives = {{L"C:\\", kDriveFixed}};
  fs_.AddFile(L"C:\\a.tmp");
  view_.target = L"全盘扫描";
  view_.rows.push_back({L"old", L"", L""});
  JunkEngine().RunScan();
  EXPECT_EQ(view_.events,
            (std::vector<std::wstring>{
                L"state:busy", L"progress:正在检查：C:\\x.exe...", L"progress:正在扫描：C:\\a.tmp",
                L"row:C:\\a.tmp", L"message:此次搜索操作中发现垃圾：1项！！！", L"state:ready"}));
}

// ---- the process phase ----------------------------------------------------------

TEST_F(EngineTest, ProcessListRoomsDoubleFromSixteenBytes) {
  for (uint32_t i = 0; i < 100; ++i)
    processes_.processes.push_back({i * 4 + 8, L"C:\\p.exe"});
  TempEngine().ScanProcesses();
  EXPECT_EQ(processes_.enum_rooms, (std::vector<uint32_t>{16, 32, 64, 128, 256, 512}));
  EXPECT_EQ(view_.progress.size(), 100u);
  EXPECT_EQ(processes_.open_handles, 0);
}

TEST_F(EngineTest, ProcessPhaseTexts) {
  processes_.processes = {
      {0, L"", false},         // the idle process cannot be opened
      {4, L"C:\\system.exe"},  // never shown even though it opens
      {100, L"C:\\WINDOWS\\explorer.exe"},
      {200, L""},  // module listing fails: the name stays
      {300, L"C:\\Program Files\\a b\\app.exe"},
      {400, L"C:\\hidden.exe", false},
      // Modules unreadable, the program file named without them (a 64-bit
      // process seen under WOW64); at most 255 characters, like a module's.
      {500, L"", true, L"C:\\Windows\\System32\\" + std::wstring(300, L'x')},
  };
  TempEngine().ScanProcesses();
  EXPECT_EQ(view_.progress,
            (std::vector<std::wstring>{
                L"正在扫描：C:\\WINDOWS\\explorer.exe...",
                L"正在扫描：C:\\WINDOWS\\explorer.exe...",
                L"正在扫描：C:\\Program Files\\a b\\app.exe...",
                L"正在扫描：C:\\Windows\\System32\\" + std::wstring(255 - 20, L'x') + L"...",
            }));
  EXPECT_EQ(view_.yields, 0);
  EXPECT_EQ(processes_.open_handles, 0);
}

TEST_F(EngineTest, ProcessPhaseBeforeAnyNameShowsEmptyName) {
  processes_.processes = {{200, L""}};
  JunkEngine().ScanProcesses();
  EXPECT_EQ(view_.progress, (std::vector<std::wstring>{L"正在检查：..."}));
}

// A set goes whole or not at all: one member held open, a member that is a
// link or a folder that cannot be held keeps every file and reports each as
// failed; a read-only or hidden member goes with the others; missing names
// give no row.
TEST(FileSetTest, AllOrNothing) {
  const std::wstring db = L"C:\\P\\History", journal = L"C:\\P\\History-journal",
                     links = L"C:\\P\\Visited Links";
  const struct {
    const char* what;
    std::function<void(FakeFileSystem&)> change;
    const wchar_t* outcome;
  } cases[] = {
      {"all plain", [](FakeFileSystem&) {}, kCleanOk},
      {"read-only and hidden",
       [&](FakeFileSystem& fs) {
         fs.Find(journal)->attributes = kAttributeReadOnly | kAttributeHidden;
       },
       kCleanOk},
      {"database held open", [&](FakeFileSystem& fs) { fs.Find(db)->locked = true; }, kCleanFailed},
      {"member is a link",
       [&](FakeFileSystem& fs) { fs.Find(links)->attributes |= kAttributeReparsePoint; },
       kCleanFailed},
      {"a name is a folder", [](FakeFileSystem& fs) { fs.AddFolder(L"C:\\P\\Top Sites"); },
       kCleanFailed},
      {"folder became a link", [](FakeFileSystem& fs) { fs.ReplaceWithLink(L"C:\\P"); },
       kCleanFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EngineFlags flags;
    FakeFileSystem fs;
    FakeDriveList drives;
    FakeProcessList processes;
    FakeScanView view;
    fs.AddFile(db, 4096);
    fs.AddFile(journal, 0);
    fs.AddFile(links, 2048);
    fs.AddFile(L"C:\\P\\Bookmarks", 100);
    c.change(fs);
    ScanEngine engine(flags, fs, drives, processes, view, TempCleanerConfig(nullptr));
    engine.DeleteFileSet({db, journal, L"C:\\P\\Top Sites", links});
    const bool gone = c.outcome == std::wstring(kCleanOk);
    EXPECT_EQ(view.rows, (std::vector<Row>{{db, L"4 kb", c.outcome},
                                           {journal, L"0 kb", c.outcome},
                                           {links, L"2 kb", c.outcome}}));
    for (const std::wstring& f : {db, journal, links})
      EXPECT_EQ(fs.Has(f), !gone) << f;
    EXPECT_TRUE(fs.Has(L"C:\\P\\Bookmarks"));
    EXPECT_EQ(fs.open_holds, 0);
  }
}

// The freed figure of a run: only what went counts (a held file, a file
// that survives its deletion, a set that fails whole free nothing), shown
// as Windows writes sizes, from 0 at the start of the run.
TEST(FreedTest, CountsWhatWentInWindowsUnits) {
  constexpr uint64_t KB = 1024, MB = KB * KB, GB = MB * KB, TB = GB * KB;
  struct File {
    uint64_t size;
    bool held = false;
    bool survives = false;
  };
  const struct {
    const char* what;
    std::vector<File> files;
    bool as_set;
    const wchar_t* shown;
  } cases[] = {
      {"nothing", {}, false, L"已释放：0 字节"},
      {"bytes", {{1000}, {23}}, false, L"已释放：1023 字节"},
      {"one KB", {{KB}}, false, L"已释放：1 KB"},
      {"3.5 MB from two files", {{3 * MB}, {512 * KB}}, false, L"已释放：3.5 MB"},
      {"cut, not rounded up", {{2 * MB - 1}}, false, L"已释放：1.9 MB"},
      {"no decimal from 100 on", {{150 * MB + 900 * KB}}, false, L"已释放：150 MB"},
      {"GB", {{12 * GB + 350 * MB}}, false, L"已释放：12.3 GB"},
      {"TB", {{5 * TB}}, false, L"已释放：5 TB"},
      {"a held file frees nothing", {{4 * KB}, {8 * KB, true}}, false, L"已释放：4 KB"},
      {"a survivor frees nothing", {{2 * KB}, {2 * KB, false, true}}, false, L"已释放：2 KB"},
      {"a set goes whole", {{MB}, {MB}}, true, L"已释放：2 MB"},
      {"a set with a held member frees nothing", {{MB}, {MB, true}}, true, L"已释放：0 字节"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EngineFlags flags;
    FakeFileSystem fs;
    FakeDriveList drives;
    FakeProcessList processes;
    FakeScanView view;
    view.flags = &flags;
    view.target = L"C:\\T";
    std::vector<std::wstring> paths;
    for (size_t i = 0; i < c.files.size(); ++i) {
      paths.push_back(L"C:\\" + std::wstring(c.as_set ? L"S" : L"T") + L"\\f" + std::to_wstring(i) +
                      L".bin");
      fs.AddFile(paths.back(), c.files[i].size);
      fs.Find(paths.back())->locked = c.files[i].held;
      fs.Find(paths.back())->remove_leaves_hidden = c.files[i].survives;
    }
    fs.AddFolder(L"C:\\T");
    EngineConfig config = TempCleanerConfig(nullptr);
    ScanEngine* engine = nullptr;
    if (c.as_set)
      config.after_folders = [&] { engine->DeleteFileSet(paths); };
    ScanEngine run(flags, fs, drives, processes, view, std::move(config));
    engine = &run;
    view.freed = {7};  // the previous run's figure
    run.RunScan();
    ASSERT_GE(view.freed.size(), 2u);
    EXPECT_EQ(view.freed[1], 0u);  // a run starts from nothing
    EXPECT_EQ(FreedText(view.freed.back()), c.shown);
    EXPECT_EQ(run.Freed(), view.freed.back());
    // The closing message still counts items.
    EXPECT_EQ(view.messages.back().text,
              c.files.empty()
                  ? std::wstring(L"此次搜索操作中没有发现垃圾！")
                  : L"此次搜索操作中发现垃圾：" + std::to_wstring(c.files.size()) + L"项");
  }
}

}  // namespace
}  // namespace engine
