#include "music-player/player_window_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include "music-player/tag_test_files.h"
#include "testing/win_test_support_win.h"

namespace player {
namespace {

using testing_support::MakeDrop;
using testing_support::PumpFor;
using testing_support::PumpUntil;

class FakeBox : public CommandBoxLink {
 public:
  std::wstring Text9() override { return text9; }
  void SetText10(const std::wstring& v) override { text10 = v; }
  void SetLyricLine(const std::wstring& t) override {
    lyric = t;
    if (position)
      shown.push_back({t, position()});
  }
  void SetInputRowTop(int t) override { row = t; }
  std::wstring text9, text10 = L"Text10", lyric;
  int row = 840;
  // Each lyric line with the playback position at the moment it came,
  // while `position` is given.
  std::function<std::wstring()> position;
  std::vector<std::pair<std::wstring, std::wstring>> shown;
};

class PlayerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ::CoInitialize(nullptr); }
  std::unique_ptr<PlayerWindow> Open() {
    auto w = std::make_unique<PlayerWindow>(box_);
    EXPECT_TRUE(w->CreateHidden());
    w->ShowModeless();
    return w;
  }
  FakeBox box_;
};

TEST_F(PlayerWindowTest, CreationLoadsAndClosingUnloads) {
  box_.text9 = L"120";
  auto w = Open();
  EXPECT_EQ(box_.text10, L"1");
  EXPECT_EQ(common::WindowText(w->hwnd()), L"Tunelet");
  EXPECT_EQ(common::WindowText(w->label1()), L"Tunelet");
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(w->hwnd(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 120);
  RECT client;
  ::GetClientRect(w->hwnd(), &client);
  EXPECT_EQ(client.right, 340);
  EXPECT_EQ(client.bottom, 100);
  // Nothing opened: no position, no crash on any member.
  EXPECT_EQ(w->w1().URL(), L"");
  EXPECT_EQ(w->w1().CurrentPositionString(), L"");
  EXPECT_EQ(w->w1().GetItemInfo(L"title"), L"");
  PumpFor(600);
  EXPECT_EQ(common::WindowText(w->label5()), L"");
  box_.row = 960;
  box_.lyric = L"line";
  HWND close = w->chrome().close_button();
  ::SendMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(w->hwnd(), nullptr);
  EXPECT_EQ(box_.text10, L"0");
  EXPECT_EQ(box_.row, 840);
  EXPECT_EQ(box_.lyric, L"");
}

TEST_F(PlayerWindowTest, WavPlaysEndsAndRepeats) {
  auto w = Open();
  w->logic().LoadLyrics(L"C:\\media\\tone");
  w->w1().SetURL(L"C:\\media\\tone.wav");
  EXPECT_EQ(w->w1().URL(), L"C:\\media\\tone.wav");
  EXPECT_EQ(w->w1().state(), kStatePlaying);
  EXPECT_EQ(w->w1().DurationString(), L"00:03");
  EXPECT_EQ(box_.row, 960);
  ASSERT_TRUE(PumpUntil([&] { return w->w1().CurrentPositionString() == L"00:02"; }, 6000));
  EXPECT_EQ(common::WindowText(w->label5()).substr(5), L"/00:03");
  // The lyric line follows the position at the next sync tick.
  EXPECT_TRUE(PumpUntil([&] { return box_.lyric == L"third"; }, 1000)) << box_.lyric;
  // The end comes, and the item starts again.
  ASSERT_TRUE(PumpUntil([&] { return w->w1().CurrentPositionString() == L"00:00"; }, 4000));
  EXPECT_EQ(w->w1().state(), kStatePlaying);
  EXPECT_EQ(w->w1().GetItemInfo(L"sourceURL"), L"C:\\media\\tone.wav");
  EXPECT_EQ(w->w1().GetItemInfo(L"title"), L"tone");  // no tags: the file name
}

TEST_F(PlayerWindowTest, UnplayableAndMissingFilesChangeNothingElse) {
  testing_support::MessageBoxAnswerer answerer;
  auto w = Open();
  for (const wchar_t* bad : {L"C:\\media\\noise.mp3", L"C:\\media\\missing.mp3",
                             L"http://no.such.host.invalid/a.mp3", L""}) {
    w->w1().SetURL(bad);
    PumpFor(100);
    EXPECT_EQ(w->w1().CurrentPositionString(), L"") << bad;
  }
  EXPECT_TRUE(answerer.boxes().empty());
  // A drop of three files plays the first; its lyrics come along.
  w->logic().Drop({L"C:\\media\\tone.wav", L"C:\\media\\tagged.mp3", L"C:\\x.mp3"});
  EXPECT_EQ(w->w1().URL(), L"C:\\media\\tone.wav");
  EXPECT_EQ(w->logic().Text1(), L"C:\\media\\tone");
  EXPECT_EQ(w->logic().List1().size(), 4u);
}

TEST_F(PlayerWindowTest, PlaylistPlaysItsItemsInOrder) {
  ASSERT_TRUE(testing_support::WriteFileBytes(
      L"C:\\media\\list.wpl",
      "<?wpl version=\"1.0\"?><smil><body><seq><media src=\"tone.wav\"/>"
      "<media src=\"tagged.mp3\"/></seq></body></smil>"));
  auto w = Open();
  w->w1().SetURL(L"C:\\media\\list.wpl");
  EXPECT_EQ(w->w1().URL(), L"C:\\media\\list.wpl");
  EXPECT_EQ(w->w1().GetItemInfo(L"sourceURL"), L"C:\\media\\tone.wav");
  ASSERT_TRUE(PumpUntil(
      [&] { return w->w1().GetItemInfo(L"sourceURL") == L"C:\\media\\tagged.mp3"; }, 6000));
  EXPECT_EQ(w->w1().state(), kStatePlaying);
}

// Files dropped on the now-playing line, one after another, as a user
// drops them: the line and the tooltip show each file's artist and title,
// read from tags as people's tools write them, and the player answers the
// artist when asked for the author.
TEST_F(PlayerWindowTest, NowPlayingOfDroppedFiles) {
  using namespace test_files;
  std::string audio;
  ASSERT_TRUE(testing_support::ReadFileBytes(L"C:\\media\\plain.mp3", &audio));
  const std::string artist = Utf16Frame(L"周杰伦"), title = Utf16Frame(L"七里香");
  // A cover of 2.3 MB before the text frames.
  const std::string cover23 =
      Id3v2(3, {{"APIC", PictureFrame(3, 2300 * 1000)}, {"TPE1", artist}, {"TIT2", title}});
  const std::string cover24 =
      Id3v2(4, {{"APIC", PictureFrame(4, 2300 * 1000)}, {"TPE1", artist}, {"TIT2", title}});
  // 2.4 with plain-integer frame sizes (300 and 4660 bytes before the
  // texts).
  const std::string plain_sizes = Id3v2(4,
                                        {{"TXXX", Latin1Frame(std::string(299, 'c'))},
                                         {"APIC", PictureFrame(4, 4600)},
                                         {"TPE1", Utf16Frame(L"歌手")},
                                         {"TIT2", Utf16Frame(L"歌名")}},
                                        PlainSizes());
  // GBK in ID3v1, the title cut after the lead byte of its 15th character.
  const std::string gbk_cut =
      Id3v1("A" + std::string("\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9\xC6\xDF"
                              "\xB0\xCB\xBE\xC5\xCA\xAE\xBC\xD7\xD2\xD2\xB1\xFB\xB6\xA1\xCE"),
            "\xB5\xCB\xC0\xF6\xBE\xFD");
  ASSERT_TRUE(testing_support::WriteFileBytes(L"C:\\media\\cover23.mp3", cover23 + audio));
  ASSERT_TRUE(testing_support::WriteFileBytes(L"C:\\media\\cover24.mp3", cover24 + audio));
  ASSERT_TRUE(testing_support::WriteFileBytes(L"C:\\media\\plain24.mp3", plain_sizes + audio));
  ASSERT_TRUE(testing_support::WriteFileBytes(L"C:\\media\\gbk_cut.mp3", audio + gbk_cut));
  const struct {
    const wchar_t* file;
    const wchar_t* shown;
  } cases[] = {
      {L"C:\\media\\cover23.mp3", L"周杰伦 - 七里香"},
      {L"C:\\media\\cover24.mp3", L"周杰伦 - 七里香"},
      {L"C:\\media\\plain24.mp3", L"歌手 - 歌名"},
      {L"C:\\media\\gbk_cut.mp3", L"邓丽君 - A一二三四五六七八九十甲乙丙丁"},
      // ffmpeg's UTF-8 in RIFF INFO and in ID3v1 (cut at 30 bytes).
      {L"C:\\media\\corpus\\riff_info_utf8.wav", L"周杰伦 - 七里香"},
      {L"C:\\media\\corpus\\id3v1_utf8_cut.mp3", L"周杰伦 - A七里香七里香七里香"},
      // The ID3v2 chunk of WAV files (kid3-cli, mutagen), APE (mutagen).
      {L"C:\\media\\corpus\\wav_id3_chunk_kid3.wav", L"周杰伦 - 七里香"},
      {L"C:\\media\\corpus\\wav_id3_chunk_mutagen.wav", L"周杰伦 - 七里香"},
      {L"C:\\media\\corpus\\apev2.mp3", L"周杰伦 - 七里香"},
      // Files that were right before.
      {L"C:\\media\\corpus\\id3v23_gbk.mp3", L"邓丽君 - 月亮代表我的心"},
      {L"C:\\media\\corpus\\id3v1_gbk.mp3", L"李香兰 - 夜来香"},
      {L"C:\\media\\tagged.mp3", L"Artist - Title"},
  };
  auto w = Open();
  for (const auto& c : cases) {
    ::SendMessageW(w->label1(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({c.file})), 0);
    EXPECT_EQ(w->w1().URL(), c.file);
    EXPECT_TRUE(PumpUntil([&] { return common::WindowText(w->label1()) == c.shown; }, 3000))
        << c.file << ": " << common::WindowText(w->label1());
    EXPECT_EQ(w->Tooltip(), std::wstring(L"正在播放：") + c.shown) << c.file;
    const std::wstring shown = c.shown;
    EXPECT_EQ(w->w1().GetItemInfo(L"Author"), shown.substr(0, shown.find(L" - "))) << c.file;
  }
}

// The lyric line of a word-timed lyric file (UTF-8 with one byte of a
// Western code page, inline and enhanced word stamps, brackets in the
// text, [offset:+1500]) beside a dropped WAV.
TEST_F(PlayerWindowTest, LyricLineOfAWordTimedLyricFile) {
  auto w = Open();
  box_.position = [&] { return w->w1().CurrentPositionString(); };
  ::SendMessageW(w->label1(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({L"C:\\media\\words.wav"})), 0);
  EXPECT_EQ(box_.row, 960);
  ASSERT_TRUE(PumpUntil([&] { return box_.lyric == L"Caf\xFFFD Latte"; }, 8000)) << box_.lyric;
  // The first time each line came, and the position then: each line
  // 1.5 s before its stamp, in the second that moment falls in.
  auto first = [&](const std::wstring& line) {
    for (const auto& [text, position] : box_.shown)
      if (text == line)
        return position;
    return std::wstring(L"never");
  };
  std::wstring log;
  for (const auto& [text, position] : box_.shown)
    log += position + L" \"" + text + L"\"; ";
  SCOPED_TRACE(testing::Message() << log);
  EXPECT_EQ(first(L"Hello world"), L"00:01");         // 00:02.00
  EXPECT_EQ(first(L"窗外的 麻雀"), L"00:02");         // 00:03.60
  EXPECT_EQ(first(L"Sing it again [x2]"), L"00:04");  // 00:05.00
  EXPECT_EQ(first(L"Caf\xFFFD Latte"), L"00:05");     // 00:06.00
  box_.position = nullptr;
}

// Lyric files as the window reads them, through the platform's code page
// (936 here): GBK, files that other tools wrote, and a short UTF-8 file
// with one Western byte, which no reading takes without a fault.
TEST_F(PlayerWindowTest, LyricFilesThroughTheCodePage) {
  ASSERT_TRUE(testing_support::WriteFileBytes(
      L"C:\\media\\short.lrc",
      "[00:01.00]\xE7\xAC\xAC\xE4\xB8\x80\xE5\x8F\xA5\r\n[00:09.00]caf\xE9 au lait\r\n"));
  ASSERT_TRUE(
      testing_support::WriteFileBytes(L"C:\\media\\gbk.lrc",
                                      "[ti:\xD4\xC2\xC1\xC1]\r\n[00:01.00]"
                                      "\xD4\xC2\xC1\xC1\xB4\xFA\xB1\xED\xCE\xD2\xB5\xC4\xD0\xC4"));
  const struct {
    const wchar_t* stem;
    size_t entry;
    const wchar_t* text;
  } cases[] = {
      {L"C:\\media\\short", 0, L"[00:01.00]第一句"},
      {L"C:\\media\\short", 1, L"[00:09.00]caf\xFFFD au lait"},
      {L"C:\\media\\gbk", 1, L"[00:01.00]月亮代表我的心"},
      {L"C:\\media\\corpus\\lyric_lf", 2, L"[00:02.50]第二行"},
      {L"C:\\media\\corpus\\lyric_gaupol_gbk", 4, L"[00:01.00]窗外的麻雀"},
      {L"C:\\media\\corpus\\lyric_gaupol_utf16le", 6, L"[01:05.25]在电线杆上多嘴"},
      {L"C:\\media\\corpus\\lyric_ffmpeg", 5, L"[00:01.00]窗外的麻雀"},
  };
  auto w = Open();
  for (const auto& c : cases) {
    w->logic().LoadLyrics(c.stem);
    ASSERT_GT(w->logic().List1().size(), c.entry) << c.stem;
    EXPECT_EQ(w->logic().List1()[c.entry], c.text) << c.stem;
  }
}

}  // namespace
}  // namespace player
