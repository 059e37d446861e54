#include "cleaner-engine/scan_engine.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <algorithm>
#include <optional>

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
using Texts = std::vector<std::wstring>;

// A junk test over a slot table that a test may change during a run.
struct Slots {
  std::vector<std::wstring> values;
  bool Takes(const std::wstring& path) const {
    const std::wstring ending = common::RightChars(path, 4);
    return std::any_of(values.begin(), values.end(),
                       [&](const std::wstring& s) { return !s.empty() && s == ending; });
  }
};

// The fakes of the ports and an engine over them, as tmpsweep or junksweep
// configure it.
struct Rig {
  Rig() { view.flags = &flags; }
  ScanEngine& Engine(EngineConfig config) {
    engine = std::make_unique<ScanEngine>(flags, fs, drives, processes, view, std::move(config));
    return *engine;
  }
  ScanEngine& TempEngine() { return Engine(TempCleanerConfig([this] { ++found_hooks; })); }
  ScanEngine& JunkEngine() {
    return Engine(JunkCleanerConfig([this](const std::wstring& p) { return slots.Takes(p); }));
  }
  Texts RowItems() const {
    Texts items;
    for (const auto& r : view.rows)
      items.push_back(r.item);
    return items;
  }
  long Searches(const std::wstring& pattern) const {
    return std::count(fs.searches.begin(), fs.searches.end(), pattern);
  }

  EngineFlags flags;
  FakeFileSystem fs;
  FakeDriveList drives;
  FakeProcessList processes;
  FakeScanView view;
  Slots slots{{L".tmp", L".bak"}};
  int found_hooks = 0;
  std::unique_ptr<ScanEngine> engine;
};

class EngineTest : public ::testing::Test, protected Rig {};

// ---- the walks --------------------------------------------------------------

// A file a walk case plants, or a folder when its path ends in "\".
struct Plant {
  const wchar_t* path;
  uint64_t size = 0;
  uint32_t attributes = 0;
  bool locked = false;    // held open: its removal fails
  bool vanishes = false;  // gone once listed
};

// One walk of a folder: its rows, its texts (when given), what stays and
// which folders are never listed. Files before subfolders, depth first;
// dot folders and links are never entered; folders stay.
TEST(WalkTest, RowsTextsAndWhatStays) {
  const struct Case {
    const char* what;
    bool junk;  // junksweep's walk, else tmpsweep's
    Texts starts;
    std::vector<Plant> plants;
    std::vector<Row> rows;
    std::optional<Texts> progress{};
    Texts kept{};
    Texts never_listed{};  // search patterns
    Texts slots{L".tmp", L".bak"};
  } cases[] = {
      {"worked example", false, {L"C:\\WINDOWS\\Temp\\"},
       {{L"C:\\WINDOWS\\Temp\\a.tmp", 2500}, {L"C:\\WINDOWS\\Temp\\x\\b.log", 10},
        {L"C:\\WINDOWS\\Temp\\x\\c.txt", 10}},
       {{L"C:\\WINDOWS\\Temp\\a.tmp", L"2 kb", kCleanOk},
        {L"C:\\WINDOWS\\Temp\\x\\c.txt", L"0 kb", kCleanOk}},
       Texts{L"正在扫描：C:\\WINDOWS\\Temp\\a.tmp", L"正在检查：C:\\WINDOWS\\Temp\\x",
             L"正在扫描：C:\\WINDOWS\\Temp\\x\\b.log", L"正在扫描：C:\\WINDOWS\\Temp\\x\\c.txt"},
       {L"C:\\WINDOWS\\Temp\\x\\b.log", L"C:\\WINDOWS\\Temp\\x"}},
      // Sizes in whole KB cut down; index.dat, setup.log and desktop.ini
      // excluded whatever their case.
      {"sizes and exclusions", false, {L"C:\\T"},
       {{L"C:\\T\\a1023.bin", 1023}, {L"C:\\T\\a1024.bin", 1024}, {L"C:\\T\\empty.bin", 0},
        {L"C:\\T\\big.bin", 3ull * 1024 * 1024 * 1024}, {L"C:\\T\\index.dat", 5},
        {L"C:\\T\\setup.log", 5}, {L"C:\\T\\desktop.ini", 5}, {L"C:\\T\\NTUSER.DAT", 5000},
        {L"C:\\T\\Log.LOG", 5}, {L"C:\\T\\x.Ini", 5}},
       {{L"C:\\T\\a1023.bin", L"0 kb", kCleanOk}, {L"C:\\T\\a1024.bin", L"1 kb", kCleanOk},
        {L"C:\\T\\big.bin", L"3145728 kb", kCleanOk}, {L"C:\\T\\empty.bin", L"0 kb", kCleanOk},
        {L"C:\\T\\Log.LOG", L"0 kb", kCleanOk}, {L"C:\\T\\NTUSER.DAT", L"4 kb", kCleanOk},
        {L"C:\\T\\x.Ini", L"0 kb", kCleanOk}},
       {}, {L"C:\\T\\index.dat", L"C:\\T\\setup.log", L"C:\\T\\desktop.ini"}},
      {"attributes and failures (.tmp: a file named by its ending only)", false, {L"C:\\T"},
       {{L"C:\\T\\hidden.bin", 1, kAttributeHidden | kAttributeReadOnly},
        {L"C:\\T\\locked.bin", 1, kAttributeReadOnly | kAttributeSystem, true},
        {L"C:\\T\\vanish.bin", 1, 0, false, true}, {L"C:\\T\\.cache\\keep.bin", 1},
        {L"C:\\T\\.tmp", 1}},
       {{L"C:\\T\\.tmp", L"0 kb", kCleanOk}, {L"C:\\T\\hidden.bin", L"0 kb", kCleanOk},
        {L"C:\\T\\locked.bin", L"0 kb", kCleanFailed}},
       {}, {L"C:\\T\\.cache\\keep.bin"}, {L"C:\\T\\.cache\\*.*"}},
      {"with or without a trailing backslash, the same rows", false, {L"C:\\T", L"C:\\T\\"},
       {{L"C:\\T\\a.bin", 3000}, {L"C:\\T\\s\\b.bin", 10}},
       {{L"C:\\T\\a.bin", L"2 kb", kCleanOk}, {L"C:\\T\\s\\b.bin", L"0 kb", kCleanOk}}},
      {"only subfolders: texts, no rows", false, {L"C:\\T"}, {{L"C:\\T\\a\\"}, {L"C:\\T\\b\\"}},
       {}, Texts{L"正在检查：C:\\T\\a", L"正在检查：C:\\T\\b"}},
      {"files before subfolders, depth first", false, {L"C:\\T"},
       {{L"C:\\T\\z.bin"}, {L"C:\\T\\a\\1.bin"}, {L"C:\\T\\a\\deep\\2.bin"}, {L"C:\\T\\b\\3.bin"},
        {L"C:\\T\\m.bin"}},
       {{L"C:\\T\\m.bin", L"0 kb", kCleanOk}, {L"C:\\T\\z.bin", L"0 kb", kCleanOk},
        {L"C:\\T\\a\\1.bin", L"0 kb", kCleanOk}, {L"C:\\T\\a\\deep\\2.bin", L"0 kb", kCleanOk},
        {L"C:\\T\\b\\3.bin", L"0 kb", kCleanOk}}},
      {"missing folder", false, {L"C:\\Missing"}, {}, {}, Texts{}},
      // A junction inside the tree that the platform would resolve to a
      // folder of canaries elsewhere: its entry carries the reparse bit.
      {"link inside the tree", false, {L"C:\\T"},
       {{L"C:\\T\\a.bin"}, {L"C:\\T\\link\\", 0, kAttributeReparsePoint},
        {L"C:\\T\\link\\canary.bin"}},
       {{L"C:\\T\\a.bin", L"0 kb", kCleanOk}}, {}, {L"C:\\T\\link\\canary.bin"},
       {L"C:\\T\\link\\*.*"}},
      // Every file is shown, matched or not; a subfolder with this walk's text.
      {"junk: order and matching", true, {L"C:\\J"},
       {{L"C:\\J\\x.tmp", 2048}, {L"C:\\J\\sub\\y.tmp", 1023}, {L"C:\\J\\REPORT.TMP", 1},
        {L"C:\\J\\keep.txt", 1}, {L"C:\\J\\a.bak", 1, kAttributeHidden | kAttributeReadOnly},
        {L"C:\\J\\.cache\\z.tmp", 1}},
       {{L"C:\\J\\a.bak", L"0 kb", kCleanOk}, {L"C:\\J\\x.tmp", L"2 kb", kCleanOk},
        {L"C:\\J\\sub\\y.tmp", L"0 kb", kCleanOk}},
       Texts{L"正在扫描：C:\\J\\a.bak", L"正在扫描：C:\\J\\keep.txt", L"正在扫描：C:\\J\\REPORT.TMP",
             L"正在扫描：C:\\J\\sub", L"正在扫描：C:\\J\\x.tmp", L"正在扫描：C:\\J\\sub\\y.tmp"},
       {L"C:\\J\\REPORT.TMP", L"C:\\J\\keep.txt", L"C:\\J\\.cache\\z.tmp"}, {L"C:\\J\\.cache\\*.*"}},
      {"junk: a locked file loses its attributes and stays", true, {L"C:\\J"},
       {{L"C:\\J\\x.tmp", 1, kAttributeHidden | kAttributeSystem | kAttributeReadOnly, true}},
       {{L"C:\\J\\x.tmp", L"0 kb", kCleanFailed}}},
      {"junk: empty slots show everything, delete nothing", true, {L"C:\\J"},
       {{L"C:\\J\\a.tmp"}, {L"C:\\J\\s\\b.bak"}}, {},
       Texts{L"正在扫描：C:\\J\\a.tmp", L"正在扫描：C:\\J\\s", L"正在扫描：C:\\J\\s\\b.bak"},
       {L"C:\\J\\a.tmp", L"C:\\J\\s\\b.bak"}, {}, Texts(27)},
  };
  for (const Case& c : cases)
    for (const std::wstring& start : c.starts) {
      SCOPED_TRACE(::testing::Message() << c.what << ", from " << start);
      Rig r;
      for (const Plant& p : c.plants) {
        const std::wstring path = p.path;
        if (path.back() == L'\\') {
          r.fs.AddFolder(path, p.attributes);
          continue;
        }
        r.fs.AddFile(path, p.size, p.attributes);
        r.fs.Find(path)->locked = p.locked;
        r.fs.Find(path)->vanishes = p.vanishes;
      }
      r.slots.values = c.slots;
      (c.junk ? r.JunkEngine() : r.TempEngine()).WalkFolder(start);
      EXPECT_EQ(r.view.rows, c.rows);
      if (c.progress) {
        EXPECT_EQ(r.view.progress, *c.progress);
      }
      // A row that failed leaves its file, its attributes reset all the same.
      for (const Row& row : r.view.rows) {
        const bool failed = row.status == std::wstring(kCleanFailed);
        EXPECT_EQ(r.fs.Has(row.item), failed) << row.item;
        if (failed && r.fs.Has(row.item)) {
          EXPECT_EQ(r.fs.Find(row.item)->attributes, 0u) << row.item;
        }
      }
      for (const std::wstring& k : c.kept)
        EXPECT_TRUE(r.fs.Has(k)) << k;
      for (const std::wstring& pattern : c.never_listed)
        EXPECT_EQ(r.Searches(pattern), 0) << pattern;
      // One search open at a time, and none left open.
      EXPECT_LE(r.fs.max_open_searches, 1);
      EXPECT_EQ(r.fs.open_searches, 0);
    }
}

TEST_F(EngineTest, YieldsOncePerEntryAndAgainPerFile) {
  fs.AddFile(L"C:\\T\\a.bin");
  fs.AddFile(L"C:\\T\\b.log");
  fs.AddFolder(L"C:\\T\\sub");
  TempEngine().WalkFolder(L"C:\\T");
  // Entries of C:\T: ".", "..", a.bin, b.log, sub = 5, plus 2 for the files;
  // then ".", ".." of sub.
  EXPECT_EQ(view.yields, 5 + 2 + 2);
}

// A start folder that is itself a link (a junction made at a drive root,
// a temporary folder moved elsewhere) leads out of what the user chose: it
// is not walked, in either form of the target.
TEST_F(EngineTest, StartFolderThatIsALinkIsNotWalked) {
  fs.AddFolder(L"C:\\Recycled", kAttributeReparsePoint);
  fs.AddFile(L"C:\\Recycled\\letter.doc", 3000);
  fs.AddFile(L"C:\\Recycled\\photo.jpg", 9000);
  fs.AddFile(L"C:\\Recycler\\S-1-5\\Dc1.txt", 10);
  const struct {
    const wchar_t* target;
    Texts rows;
  } cases[] = {
      {L"C:\\Recycled", {}},
      {L"C:\\Recycled\\", {}},
      {L"C:\\Recycled;D:\\Recycled;C:\\Recycler", {L"C:\\Recycler\\S-1-5\\Dc1.txt"}},
  };
  for (const auto& c : cases) {
    view.target = c.target;
    TempEngine().RunScan();
    EXPECT_EQ(RowItems(), c.rows) << c.target;
    EXPECT_TRUE(fs.Has(L"C:\\Recycled\\letter.doc")) << c.target;
    EXPECT_TRUE(fs.Has(L"C:\\Recycled\\photo.jpg")) << c.target;
  }
  EXPECT_EQ(Searches(L"C:\\Recycled\\*.*"), 0);
  EXPECT_EQ(fs.open_holds, 0);
}

// Between the listing of a folder and the walk's entry into one of its
// subfolders, the whole rest of the folder is handled: another program can
// replace the subfolder by a link meanwhile. The walk checks at the entry,
// and holds every folder of its current path, so a folder it is inside
// cannot be replaced at all.
TEST_F(EngineTest, FolderReplacedByALinkAfterTheListingIsNotFollowed) {
  fs.AddFile(L"C:\\T\\a.bin");
  fs.AddFile(L"C:\\T\\sub\\canary.doc");
  fs.AddFile(L"C:\\T\\sub2\\b.bin");
  fs.AddFile(L"C:\\T\\z.bin");
  bool swapped = false, refused_inside = false;
  Texts held_inside;
  view.on_yield = [&](int) {
    // After "sub" and "sub2" were listed, before "z.bin": the swap works.
    if (!swapped && !view.progress.empty() && view.progress.back() == L"正在检查：C:\\T\\sub2")
      swapped = fs.ReplaceWithLink(L"C:\\T\\sub");
    // Inside "sub2": neither it nor the start folder can be replaced.
    if (held_inside.empty() && fs.IsHeld(L"C:\\T\\sub2")) {
      refused_inside = !fs.ReplaceWithLink(L"C:\\T\\sub2") && !fs.ReplaceWithLink(L"C:\\T");
      for (const wchar_t* f : {L"C:\\T", L"C:\\T\\sub", L"C:\\T\\sub2"})
        if (fs.IsHeld(f))
          held_inside.push_back(f);
    }
  };
  TempEngine().WalkFolder(L"C:\\T");
  ASSERT_TRUE(swapped);
  EXPECT_TRUE(refused_inside);
  EXPECT_EQ(held_inside, (Texts{L"C:\\T", L"C:\\T\\sub2"}));
  EXPECT_EQ(RowItems(), (Texts{L"C:\\T\\a.bin", L"C:\\T\\z.bin", L"C:\\T\\sub2\\b.bin"}));
  EXPECT_TRUE(fs.Has(L"C:\\T\\sub\\canary.doc"));
  EXPECT_EQ(Searches(L"C:\\T\\sub\\*.*"), 0);
  // Every folder entered was let go again.
  EXPECT_EQ(fs.open_holds, 0);
  EXPECT_EQ(fs.holds, (Texts{L"C:\\T\\", L"C:\\T\\sub\\", L"C:\\T\\sub2\\"}));
}

// A run never starts inside another: a handler that runs during a yield or
// a message box of a run and starts a run again changes nothing.
TEST_F(EngineTest, NoRunInsideARun) {
  fs.AddFile(L"C:\\A\\1.tmp");
  fs.AddFile(L"C:\\A\\2.tmp");
  view.target = L"C:\\A";
  ScanEngine& e = TempEngine();
  int nested = 0;
  view.on_yield = [&](int) {
    ++nested;
    e.RunScan();
  };
  view.on_message = [&](const std::wstring&) { e.RunScan(); };
  e.RunScan();
  EXPECT_GT(nested, 0);
  EXPECT_EQ(RowItems(), (Texts{L"C:\\A\\1.tmp", L"C:\\A\\2.tmp"}));
  EXPECT_EQ(view.states, (std::vector<bool>{false, true}));
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, L"此次搜索操作中发现垃圾：2项");
  EXPECT_FALSE(e.Running());
  // Once it is over, the next run starts as usual.
  view.on_yield = nullptr;
  view.on_message = nullptr;
  e.RunScan();
  EXPECT_EQ(view.states, (std::vector<bool>{false, true, false, true}));
}

// The walk runs on a thread with a small stack: a walk that recursed once
// per level would overflow it long before the leaf.
TEST_F(EngineTest, DeepTreeDoesNotOverflowTheStack) {
  std::wstring path = L"C:\\T";
  for (int i = 0; i < 1500; ++i)
    path += L"\\d";
  fs.AddFile(path + L"\\leaf.bin", 1);
  TempEngine();
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 96 * 1024);
  pthread_t thread;
  auto run = [](void* e) -> void* {
    static_cast<ScanEngine*>(e)->WalkFolder(L"C:\\T");
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, engine.get()), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
  EXPECT_EQ(RowItems(), (Texts{path + L"\\leaf.bin"}));
}

TEST_F(EngineTest, ManySubfoldersBeyondSixteenBits) {
  for (int i = 0; i < 40000; ++i)
    fs.AddFolder(L"C:\\T\\f" + std::to_wstring(i));
  fs.AddFile(L"C:\\T\\f39999\\x.bin");
  TempEngine().WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(), (Texts{L"C:\\T\\f39999\\x.bin"}));
}

TEST_F(EngineTest, StopInThirdLevelEndsWalkWithoutOpeningMore) {
  for (const wchar_t* f : {L"C:\\T\\1\\2\\3\\a.bin", L"C:\\T\\1\\2\\3\\b.bin", L"C:\\T\\1\\2\\3\\c.bin",
                           L"C:\\T\\1\\2\\later\\x.bin", L"C:\\T\\1\\sibling\\y.bin",
                           L"C:\\T\\z\\w.bin"})
    fs.AddFile(f);
  TempEngine();
  // Stop confirmed during the handling of b.bin.
  view.on_yield = [this](int) {
    if (!view.progress.empty() && view.progress.back() == L"正在扫描：C:\\T\\1\\2\\3\\a.bin")
      flags.stopRequested = true;
  };
  engine->WalkFolder(L"C:\\T");
  EXPECT_EQ(RowItems(), (Texts{L"C:\\T\\1\\2\\3\\a.bin"}));
  EXPECT_EQ(fs.searches.back(), L"C:\\T\\1\\2\\3\\*.*");
  EXPECT_EQ(fs.open_searches, 0);
}

TEST_F(EngineTest, SlotChangedDuringRunAppliesFromNextFile) {
  for (const wchar_t* n : {L"1.tmp", L"2.tmp", L"3.tmp", L"4.jpg"})
    fs.AddFile(std::wstring(L"C:\\J\\") + n);
  JunkEngine();
  // While 2.tmp waits in its second yield the user unticks "*.tmp" and types
  // an ending into a custom field.
  view.on_yield = [this](int) {
    if (!view.progress.empty() && view.progress.back() == L"正在扫描：C:\\J\\1.tmp" &&
        view.rows.size() == 1) {
      slots.values = {L".jpg"};
    }
  };
  engine->WalkFolder(L"C:\\J");
  EXPECT_EQ(RowItems(), (Texts{L"C:\\J\\1.tmp", L"C:\\J\\4.jpg"}));
}

// ---- deleting and reporting -------------------------------------------------

TEST_F(EngineTest, DeleteFileCheckedAndClearReadOnly) {
  fs.AddFile(L"C:\\D\\stays.bin", 1, kAttributeHidden);
  fs.Find(L"C:\\D\\stays.bin")->remove_leaves_hidden = true;
  fs.AddFile(L"C:\\D\\gone.bin", 1, kAttributeReadOnly | kAttributeSystem);
  fs.AddFile(L"C:\\D\\noattrs.bin", 1, kAttributeReadOnly);
  fs.Find(L"C:\\D\\noattrs.bin")->attributes_fail = true;
  fs.AddFolder(L"C:\\D\\folder");
  ScanEngine& e = TempEngine();
  EXPECT_FALSE(e.DeleteFileChecked(L"C:\\D\\stays.bin"));  // a hidden survivor failed
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\gone.bin"));
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\never-there.bin"));
  EXPECT_FALSE(e.DeleteFileChecked(L"C:\\D\\noattrs.bin"));
  EXPECT_TRUE(fs.Has(L"C:\\D\\noattrs.bin"));
  EXPECT_TRUE(e.DeleteFileChecked(L"C:\\D\\folder"));  // folders do not count
  EXPECT_TRUE(fs.Has(L"C:\\D\\folder"));

  // Only read-only files are touched.
  fs.AddFile(L"C:\\a", 0, kAttributeReadOnly | kAttributeHidden);
  fs.AddFile(L"C:\\b", 0, kAttributeHidden);
  EXPECT_TRUE(e.ClearReadOnly(L"C:\\a"));
  EXPECT_TRUE(e.ClearReadOnly(L"C:\\b"));
  EXPECT_FALSE(e.ClearReadOnly(L"C:\\missing"));
  EXPECT_EQ(fs.Find(L"C:\\a")->attributes, 0u);
  EXPECT_EQ(fs.Find(L"C:\\b")->attributes, kAttributeHidden);
}

// ---- the whole-disk walk ------------------------------------------------------

TEST(WholeDiskTest, DriveOrderAndSkips) {
  const struct {
    std::vector<FakeDriveList::Drive> drives;
    Texts entered;
  } cases[] = {
      {{{L"A:\\", kDriveRemovable},
        {L"C:\\", kDriveFixed},
        {L"D:\\", kDriveCdRom},
        {L"E:\\", kDriveFixed}},
       {L"C:\\", L"E:\\"}},
      {{{L"C:\\", kDriveFixed}, {L"F:\\", kDriveRemovable}, {L"G:\\", kDriveFixed}}, {L"C:\\"}},
      // A network drive between fixed ones is passed over, its autorun.inf
      // and junk left; the walk goes on with the next drive.
      {{{L"b:\\", kDriveFixed},
        {L"C:\\", kDriveFixed},
        {L"N:\\", kDriveRemote},
        {L"R:\\", kDriveRamDisk},
        {L"X:\\", kDriveUnknown},
        {L"Y:\\", kDriveFixed}},
       {L"C:\\", L"R:\\", L"X:\\", L"Y:\\"}},
  };
  for (const auto& c : cases) {
    Rig r;
    r.fs.AddFile(L"N:\\autorun.inf", 10);
    r.fs.AddFile(L"N:\\x.tmp", 10);
    r.drives.drives = c.drives;
    r.Engine(JunkCleanerConfig(nullptr)).ScanAllDrives();
    // Every drive visited is entered through a hold (these are empty, so
    // nothing more happens there).
    EXPECT_EQ(r.fs.holds, c.entered);
    EXPECT_TRUE(r.view.rows.empty());
    EXPECT_TRUE(r.fs.Has(L"N:\\autorun.inf") && r.fs.Has(L"N:\\x.tmp"));
    ASSERT_EQ(r.view.messages.size(), 1u);
    EXPECT_EQ(r.view.messages[0].text, L"此次搜索操作中发现垃圾：0项！！！");
    EXPECT_EQ(r.view.messages[0].title, L"提示");
    EXPECT_EQ(r.view.messages[0].icon, MessageIcon::kInformation);
  }
}

TEST_F(EngineTest, AutorunAtRootIsDeletedWithItsRow) {
  drives.drives = {{L"C:\\", kDriveFixed}, {L"E:\\", kDriveFixed}};
  fs.AddFile(L"C:\\autorun.inf", 100, kAttributeHidden | kAttributeSystem | kAttributeReadOnly);
  fs.AddFile(L"C:\\x.tmp", 100);
  fs.AddFile(L"E:\\autorun.inf", 100);
  fs.Find(L"E:\\autorun.inf")->locked = true;
  JunkEngine().ScanAllDrives();
  EXPECT_EQ(view.rows, (std::vector<Row>{{L"autorun.inf", L"C:\\autorun.inf", L"删除成功"},
                                         {L"C:\\x.tmp", L"0 kb", L"清除成功"},
                                         {L"autorun.inf", L"E:\\autorun.inf", L"删除失败"}}));
  EXPECT_FALSE(fs.Has(L"C:\\autorun.inf"));
  EXPECT_TRUE(fs.Has(L"E:\\autorun.inf"));
  EXPECT_EQ(view.messages.back().text, L"此次搜索操作中发现垃圾：3项！！！");
  EXPECT_EQ(view.states, (std::vector<bool>{true}));
  EXPECT_FALSE(flags.scanRunning);
}

TEST_F(EngineTest, StopDuringFirstDriveSkipsTheRest) {
  drives.drives = {{L"C:\\", kDriveFixed}, {L"E:\\", kDriveFixed}};
  fs.AddFile(L"C:\\a.tmp");
  fs.AddFile(L"C:\\b.tmp");
  fs.AddFile(L"E:\\c.tmp");
  JunkEngine();
  view.on_yield = [this](int) {
    if (view.rows.size() == 1)
      flags.stopRequested = true;
  };
  engine->ScanAllDrives();
  EXPECT_EQ(RowItems(), (Texts{L"C:\\a.tmp"}));
  EXPECT_EQ(Searches(L"E:\\*.*"), 0);
  EXPECT_EQ(view.messages.back().text, L"此次搜索操作中发现垃圾：1项！！！");
  EXPECT_FALSE(flags.stopRequested);  // the ready state cleared it
}

TEST_F(EngineTest, DriveListTrailingNulsNeverVisited) {
  drives.drives = {{L"C:\\", kDriveFixed}};
  fs.AddFile(L"C:\\a.txt");
  JunkEngine().ScanAllDrives();
  EXPECT_EQ(fs.searches, (Texts{L"C:\\*.*"}));
}

// ---- the run sequence ---------------------------------------------------------

// The stop question during a run over three folders: a confirmed stop ends
// the run (no further folder), a cancelled one lets it go on, and a second
// stop after a confirmed one asks nothing. The closing message comes all
// the same, and the ready state clears both flags.
TEST(StopTest, QuestionAndItsAnswers) {
  const struct {
    const char* what;
    size_t at_rows;  // asked at each yield while the rows are this many ...
    int times;       // ... up to this many times
    std::vector<MessageResult> answers;
    Texts rows;
    const wchar_t* summary;
    MessageIcon summary_icon;
  } cases[] = {
      {"confirmed after the first row", 1, 1, {}, {L"C:\\A\\1.bin"},
       L"此次搜索操作中发现垃圾：1项", MessageIcon::kQuestion},
      {"cancelled", 0, 1, {MessageResult::kCancel},
       {L"C:\\A\\1.bin", L"C:\\A\\2.bin", L"C:\\B\\1.bin", L"C:\\B\\2.bin", L"C:\\C\\1.bin",
        L"C:\\C\\2.bin"},
       L"此次搜索操作中发现垃圾：6项", MessageIcon::kQuestion},
      {"a second stop after a confirmed one", 0, 2, {}, {}, L"此次搜索操作中没有发现垃圾！",
       MessageIcon::kInformation},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    for (const wchar_t* f : {L"C:\\A", L"C:\\B", L"C:\\C"}) {
      r.fs.AddFile(std::wstring(f) + L"\\1.bin");
      r.fs.AddFile(std::wstring(f) + L"\\2.bin");
    }
    r.view.target = L"C:\\A;C:\\B;C:\\C";
    r.view.answers = c.answers;
    ScanEngine& e = r.TempEngine();
    int asked = 0;
    const bool confirmed = c.answers.empty();
    r.view.on_yield = [&](int) {
      if (asked == c.times || r.view.rows.size() != c.at_rows)
        return;
      e.StopQuestion();
      if (asked++ == 0) {
        EXPECT_EQ(r.flags.scanRunning, !confirmed);
        EXPECT_EQ(r.flags.stopRequested, confirmed);
      }
    };
    e.RunScan();
    EXPECT_EQ(r.RowItems(), c.rows);
    // One question, then the summary.
    ASSERT_EQ(r.view.messages.size(), 2u);
    EXPECT_EQ(r.view.messages[0].text, L"正在清理你确定要终止吗？");
    EXPECT_EQ(r.view.messages[0].buttons, MessageButtons::kOkCancelDefaultCancel);
    EXPECT_EQ(r.view.messages[0].icon, MessageIcon::kInformation);
    EXPECT_EQ(r.view.messages[1].text, c.summary);
    EXPECT_EQ(r.view.messages[1].icon, c.summary_icon);
    EXPECT_EQ(r.view.states, (std::vector<bool>{false, true}));
    EXPECT_EQ(r.fs.Has(L"C:\\B\\1.bin"), c.rows.size() < 3);
    EXPECT_FALSE(r.flags.scanRunning);
    EXPECT_FALSE(r.flags.stopRequested);
  }
}

TEST_F(EngineTest, StopQuestionOutsideARunDoesNothing) {
  TempEngine().StopQuestion();
  EXPECT_TRUE(view.messages.empty());
}

TEST(RunTest, ProcessPhaseOnlyForASingleExistingFolder) {
  const struct {
    const wchar_t* target;
    bool process_phase;
  } cases[] = {
      {L"C:\\A", true},
      {L"C:\\A;C:\\B", false},
      {L"C:\\Missing", false},
      {L";;C:\\Missing;", false},
  };
  for (const auto& c : cases) {
    Rig r;
    r.processes.processes = {{100, L"C:\\WINDOWS\\explorer.exe"}};
    r.fs.AddFolder(L"C:\\A");
    r.fs.AddFolder(L"C:\\B");
    r.view.target = c.target;
    r.Engine(TempCleanerConfig(nullptr)).RunScan();
    const bool phase = std::find(r.view.progress.begin(), r.view.progress.end(),
                                 L"正在扫描：C:\\WINDOWS\\explorer.exe...") != r.view.progress.end();
    EXPECT_EQ(phase, c.process_phase) << c.target;
    ASSERT_FALSE(r.view.messages.empty());
    EXPECT_EQ(r.view.messages.back().text, L"此次搜索操作中没有发现垃圾！");
    EXPECT_EQ(r.view.messages.back().icon, MessageIcon::kInformation);
  }
}

// Something found: the recycle hook runs once, before the summary; nothing
// found: no hook.
TEST_F(EngineTest, SummaryTextsAndRecycleHook) {
  for (int i = 0; i < 12; ++i)
    fs.AddFile(L"C:\\A\\f" + std::to_wstring(i) + L".bin");
  view.target = L"C:\\A";
  Engine(TempCleanerConfig([this] {
    ++found_hooks;
    view.events.push_back(L"hook");
  })).RunScan();
  EXPECT_EQ(view.messages.back().text, L"此次搜索操作中发现垃圾：12项");
  EXPECT_EQ(view.messages.back().title, L"提示");
  EXPECT_EQ(found_hooks, 1);
  const auto hook = std::find(view.events.begin(), view.events.end(), L"hook");
  ASSERT_NE(hook, view.events.end());
  EXPECT_LT(hook, std::find(view.events.begin(), view.events.end(),
                            L"message:此次搜索操作中发现垃圾：12项"));

  TempEngine().RunScan();  // the folder is empty now
  EXPECT_EQ(view.messages.back().text, L"此次搜索操作中没有发现垃圾！");
  EXPECT_EQ(found_hooks, 1);  // nothing found: no script
}

TEST_F(EngineTest, WholeDiskRunSequence) {
  processes.processes = {{8, L"C:\\x.exe"}};
  drives.drives = {{L"C:\\", kDriveFixed}};
  fs.AddFile(L"C:\\a.tmp");
  view.target = L"全盘扫描";
  view.rows.push_back({L"old", L"", L""});
  JunkEngine().RunScan();
  EXPECT_EQ(view.events,
            (Texts{L"state:busy", L"progress:正在检查：C:\\x.exe...", L"progress:正在扫描：C:\\a.tmp",
                   L"row:C:\\a.tmp", L"message:此次搜索操作中发现垃圾：1项！！！", L"state:ready"}));
}

// ---- the process phase ----------------------------------------------------------

TEST_F(EngineTest, ProcessListRoomsDoubleFromSixteenBytes) {
  for (uint32_t i = 0; i < 100; ++i)
    processes.processes.push_back({i * 4 + 8, L"C:\\p.exe"});
  TempEngine().ScanProcesses();
  EXPECT_EQ(processes.enum_rooms, (std::vector<uint32_t>{16, 32, 64, 128, 256, 512}));
  EXPECT_EQ(view.progress.size(), 100u);
  EXPECT_EQ(processes.open_handles, 0);
}

TEST_F(EngineTest, ProcessPhaseTexts) {
  processes.processes = {
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
  EXPECT_EQ(view.progress, (Texts{
                               L"正在扫描：C:\\WINDOWS\\explorer.exe...",
                               L"正在扫描：C:\\WINDOWS\\explorer.exe...",
                               L"正在扫描：C:\\Program Files\\a b\\app.exe...",
                               L"正在扫描：C:\\Windows\\System32\\" + std::wstring(255 - 20, L'x') +
                                   L"...",
                           }));
  EXPECT_EQ(view.yields, 0);
  EXPECT_EQ(processes.open_handles, 0);
}

TEST_F(EngineTest, ProcessPhaseBeforeAnyNameShowsEmptyName) {
  processes.processes = {{200, L""}};
  JunkEngine().ScanProcesses();
  EXPECT_EQ(view.progress, (Texts{L"正在检查：..."}));
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
    Rig r;
    r.fs.AddFile(db, 4096);
    r.fs.AddFile(journal, 0);
    r.fs.AddFile(links, 2048);
    r.fs.AddFile(L"C:\\P\\Bookmarks", 100);
    c.change(r.fs);
    r.Engine(TempCleanerConfig(nullptr)).DeleteFileSet({db, journal, L"C:\\P\\Top Sites", links});
    const bool gone = c.outcome == std::wstring(kCleanOk);
    EXPECT_EQ(r.view.rows, (std::vector<Row>{{db, L"4 kb", c.outcome},
                                             {journal, L"0 kb", c.outcome},
                                             {links, L"2 kb", c.outcome}}));
    for (const std::wstring& f : {db, journal, links})
      EXPECT_EQ(r.fs.Has(f), !gone) << f;
    EXPECT_TRUE(r.fs.Has(L"C:\\P\\Bookmarks"));
    EXPECT_EQ(r.fs.open_holds, 0);
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
    Rig r;
    r.view.target = L"C:\\T";
    Texts paths;
    for (size_t i = 0; i < c.files.size(); ++i) {
      paths.push_back(L"C:\\" + std::wstring(c.as_set ? L"S" : L"T") + L"\\f" + std::to_wstring(i) +
                      L".bin");
      r.fs.AddFile(paths.back(), c.files[i].size);
      r.fs.Find(paths.back())->locked = c.files[i].held;
      r.fs.Find(paths.back())->remove_leaves_hidden = c.files[i].survives;
    }
    r.fs.AddFolder(L"C:\\T");
    EngineConfig config = TempCleanerConfig(nullptr);
    if (c.as_set)
      config.after_folders = [&] { r.engine->DeleteFileSet(paths); };
    ScanEngine& run = r.Engine(std::move(config));
    r.view.freed = {7};  // the previous run's figure
    run.RunScan();
    ASSERT_GE(r.view.freed.size(), 2u);
    EXPECT_EQ(r.view.freed[1], 0u);  // a run starts from nothing
    EXPECT_EQ(FreedText(r.view.freed.back()), c.shown);
    EXPECT_EQ(run.Freed(), r.view.freed.back());
    // The closing message still counts items.
    EXPECT_EQ(r.view.messages.back().text,
              c.files.empty()
                  ? std::wstring(L"此次搜索操作中没有发现垃圾！")
                  : L"此次搜索操作中发现垃圾：" + std::to_wstring(c.files.size()) + L"项");
  }
}

}  // namespace
}  // namespace engine
