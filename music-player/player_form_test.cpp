#include "music-player/player_form.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "testing/iconv_code_page.h"

namespace player {
namespace {

using testing_support::Gbk;

class FakeComponent : public MediaPlayer {
 public:
  std::wstring URL() override { return url; }
  void SetURL(const std::wstring& u) override {
    url = u;
    log.push_back(L"url:" + u);
  }
  void Play() override { log.push_back(L"play"); }
  std::wstring CurrentPositionString() override { return position; }
  std::wstring DurationString() override { return duration; }
  std::wstring GetItemInfo(const std::wstring& name) override {
    if (name == L"sourceURL")
      return url;
    if (name == L"Author")
      return author;
    if (name == L"title")
      return title;
    return L"";
  }
  std::wstring url, position, duration, author, title;
  std::vector<std::wstring> log;
};

class FakeFormView : public PlayerFormView {
 public:
  void SetNowPlaying(const std::wstring& t, const std::wstring& tip) override {
    now_playing = t;
    tooltip = tip;
  }
  void SetPositionLine(const std::wstring& t) override { position_line = t; }
  void EnableSyncTimer(bool e) override { sync = e; }
  void EnableDeferredTimer(bool e) override { deferred = e; }
  void SetAlpha(int a) override { alpha = a; }
  void Minimise() override {}
  void DestroyWindow() override { destroyed = true; }
  std::wstring now_playing = L"Tunelet", tooltip, position_line = L"x";
  bool sync = false, deferred = false, destroyed = false;
  int alpha = -1;
};

class FakeBox : public CommandBoxLink {
 public:
  std::wstring Text9() override { return text9; }
  void SetText10(const std::wstring& v) override { text10 = v; }
  void SetLyricLine(const std::wstring& t) override {
    lyric = t;
    log.push_back(L"lyric:" + t);
  }
  void SetInputRowTop(int t) override {
    row = t;
    log.push_back(L"row:" + std::to_wstring(t));
  }
  std::wstring text9, text10 = L"Text10", lyric;
  int row = 840;
  std::vector<std::wstring> log;
};

class FakeFiles : public LyricFiles {
 public:
  bool Exists(const std::wstring& path) override {
    ++reads;
    return files.count(path) && !hidden.count(path);
  }
  bool Read(const std::wstring& path, std::string* bytes) override {
    if (unreadable)
      return false;
    *bytes = files[path];
    return true;
  }
  std::map<std::wstring, std::string> files;
  std::set<std::wstring> hidden;
  bool unreadable = false;
  int reads = 0;
};

class PlayerFormTest : public ::testing::Test {
 protected:
  FakeComponent w1_;
  FakeFormView view_;
  FakeBox box_;
  FakeFiles files_;
  testing_support::IconvCodePage gbk_;
  PlayerForm form_{view_, box_, w1_, files_, gbk_};
};

TEST(OpacityTest, FromText9) {
  const struct {
    const wchar_t* text9;
    int alpha;
  } cases[] = {{L"", 200},    {L"100", 100}, {L"0", 0},      {L"255", 255},
               {L"256", 200}, {L"-1", 200},  {L"abc", 200},  {L"20.5", 20},
               {L"21.5", 22}, {L" 30 ", 30}, {L"255.5", 255}};
  for (const auto& c : cases)
    EXPECT_EQ(OpacityFromText9(c.text9), c.alpha) << c.text9;
}

TEST_F(PlayerFormTest, LoadSetsPresenceAndOpacity) {
  box_.text9 = L"150";
  form_.Load();
  EXPECT_EQ(box_.text10, L"1");
  EXPECT_EQ(view_.alpha, 150);
  form_.Unloaded();
  EXPECT_EQ(box_.text10, L"0");
}

TEST_F(PlayerFormTest, LoadLyricsWithAndWithoutFile) {
  files_.files[L"D:\\Music\\Song.lrc"] = Gbk(L"[ti:歌]\r\n[00:01]一\r\n[00:02]二\r\n");
  box_.lyric = L"old";
  form_.LoadLyrics(L"D:\\Music\\Song");
  EXPECT_EQ(box_.log, (std::vector<std::wstring>{L"lyric:", L"row:960"}));
  EXPECT_EQ(form_.List1(), (std::vector<std::wstring>{L"[ti:歌]", L"[00:01]一", L"[00:02]二"}));
  EXPECT_TRUE(view_.sync);
  form_.LoadLyrics(L"D:\\Music\\Other");
  EXPECT_TRUE(form_.List1().empty());
  EXPECT_EQ(box_.row, 840);
  EXPECT_FALSE(view_.sync);
  // A hidden lyric file counts as absent, and so does one that cannot be
  // read.
  files_.hidden.insert(L"D:\\Music\\Song.lrc");
  form_.LoadLyrics(L"D:\\Music\\Song");
  EXPECT_EQ(box_.row, 840);
  files_.hidden.clear();
  files_.unreadable = true;
  form_.LoadLyrics(L"D:\\Music\\Song");
  EXPECT_EQ(box_.row, 840);
  // An empty file: lyrics loaded, nothing to show.
  files_.unreadable = false;
  files_.files[L"E:\\empty.lrc"] = "";
  form_.LoadLyrics(L"E:\\empty");
  EXPECT_EQ(box_.row, 960);
  EXPECT_TRUE(form_.List1().empty());
}

// The line at each tick follows the position, and stays past the last
// line. The lyric file's [offset:] goes with it: read when it is loaded,
// gone when another file replaces it.
TEST_F(PlayerFormTest, SyncTickFollowsThePositionAndTheFilesOffset) {
  files_.files[L"D:\\s.lrc"] = "[00:01]one\n[00:02]two\n";
  files_.files[L"D:\\a.lrc"] = "[offset:+3000]\r\n[00:03]three\r\n[00:06]six\r\n";
  files_.files[L"D:\\b.lrc"] = "[00:03]three\r\n[00:06]six\r\n";
  const struct {
    const wchar_t *stem, *position, *lyric;
  } ticks[] = {{L"D:\\s", L"00:02", L"two"},
               {L"D:\\s", L"00:09", L"two"},
               {L"D:\\a", L"00:03", L"six"},
               {L"D:\\b", L"00:03", L"three"}};
  for (const auto& t : ticks) {
    form_.LoadLyrics(t.stem);
    w1_.position = t.position;
    form_.SyncTick();
    EXPECT_EQ(box_.lyric, t.lyric) << t.stem << " at " << t.position;
  }
}

TEST_F(PlayerFormTest, RefreshShowsArtistTitleAndPosition) {
  form_.Refresh();
  EXPECT_EQ(view_.position_line, L"");
  EXPECT_EQ(view_.now_playing, L"Tunelet");  // nothing opened yet
  w1_.url = L"http://radio.example.com/x.mp3";
  w1_.position = L"01:07";
  w1_.duration = L"04:12";
  w1_.title = L"Title";
  form_.Refresh();
  EXPECT_EQ(view_.position_line, L"01:07/04:12");
  EXPECT_EQ(view_.now_playing, L"Title");
  EXPECT_EQ(view_.tooltip, L"正在播放：Title");
  w1_.author = L"Artist";
  form_.Refresh();
  EXPECT_EQ(view_.now_playing, L"Artist - Title");
  EXPECT_EQ(view_.tooltip, L"正在播放：Artist - Title");
  EXPECT_EQ(form_.Text3(), L"ht");
}

TEST_F(PlayerFormTest, RefreshReloadsLocalLyricsAtTheStartOfAnItem) {
  files_.files[L"D:\\Music\\Song.lrc"] = "[00:01]x";
  w1_.url = L"D:\\Music\\Song.mp3";
  const struct {
    const wchar_t* position;
    bool reload;
  } cases[] = {{L"00:00", true}, {L"00:01", false}, {L"00:03", true}, {L"01:00", false}};
  for (const auto& c : cases) {
    const int before = files_.reads;
    w1_.position = c.position;
    form_.Refresh();
    EXPECT_EQ(files_.reads > before, c.reload) << c.position;
  }
  EXPECT_EQ(form_.Text2(), L"D:\\Music\\Song");
  // No reload from drive l: or from an address.
  for (const wchar_t* url : {L"l:\\Music\\Song.mp3", L"http://x/Song.mp3", L"\\\\server\\a.mp3"}) {
    w1_.url = url;
    w1_.position = L"00:00";
    const int before = files_.reads;
    form_.Refresh();
    form_.DeferredRefresh();
    EXPECT_EQ(files_.reads, before) << url;
  }
}

TEST_F(PlayerFormTest, DeferredRefreshAppliesOpacityReloadsAndSwitchesOff) {
  files_.files[L"C:\\a.lrc"] = "[00:10]x";
  w1_.url = L"C:\\a.mp3";
  w1_.position = L"02:00";
  box_.text9 = L"90";
  form_.EnableDeferredRefresh();
  EXPECT_TRUE(view_.deferred);
  form_.DeferredRefresh();
  EXPECT_EQ(view_.alpha, 90);
  EXPECT_EQ(box_.row, 960);  // no position condition here
  EXPECT_FALSE(view_.deferred);
}

TEST_F(PlayerFormTest, DropPlaysTheFirstFile) {
  files_.files[L"D:\\x\\Song..lrc"] = "[00:01]y";
  form_.Drop({L"D:\\x\\Song.flac", L"D:\\x\\other.mp3", L"D:\\x\\third.mp3"});
  EXPECT_EQ(form_.Text1(), L"D:\\x\\Song.");
  EXPECT_EQ(box_.row, 960);
  EXPECT_EQ(w1_.log, (std::vector<std::wstring>{L"url:D:\\x\\Song.flac"}));
  form_.Drop({});
  EXPECT_EQ(w1_.log.size(), 1u);
}

TEST_F(PlayerFormTest, RepeatAndClose) {
  form_.PlayStateChange(kStatePlaying);
  form_.PlayStateChange(kStatePaused);
  EXPECT_TRUE(w1_.log.empty());
  form_.PlayStateChange(kStateStopped);
  EXPECT_EQ(w1_.log, (std::vector<std::wstring>{L"play"}));
  box_.log.clear();
  form_.Close();
  EXPECT_EQ(box_.log, (std::vector<std::wstring>{L"row:840", L"lyric:"}));
  EXPECT_TRUE(view_.destroyed);
}

TEST(PositionTextTest, Format) {
  EXPECT_EQ(PositionText(0), L"00:00");
  EXPECT_EQ(PositionText(0.99), L"00:00");
  EXPECT_EQ(PositionText(2.5), L"00:02");
  EXPECT_EQ(PositionText(67), L"01:07");
  EXPECT_EQ(PositionText(3599.9), L"59:59");
  EXPECT_EQ(PositionText(6000), L"100:00");
  EXPECT_EQ(PositionText(-5), L"00:00");
}

}  // namespace
}  // namespace player
