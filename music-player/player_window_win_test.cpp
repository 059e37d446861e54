#include "music-player/player_window_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include "testing/win_test_support_win.h"

namespace player {
namespace {

using testing_support::PumpFor;
using testing_support::PumpUntil;

class FakeBox : public CommandBoxLink {
 public:
  std::wstring Text9() override { return text9; }
  void SetText10(const std::wstring& v) override { text10 = v; }
  void SetLyricLine(const std::wstring& t) override { lyric = t; }
  void SetInputRowTop(int t) override { row = t; }
  std::wstring text9, text10 = L"Text10", lyric;
  int row = 840;
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

TEST_F(PlayerWindowTest, Mp3TagsShowArtistAndTitle) {
  auto w = Open();
  w->w1().SetURL(L"C:\\media\\tagged.mp3");
  ASSERT_TRUE(PumpUntil([&] { return common::WindowText(w->label1()) == L"Artist - Title"; }, 3000))
      << common::WindowText(w->label1());
  EXPECT_EQ(w->Tooltip(), L"正在播放：Artist - Title");
  EXPECT_EQ(w->w1().GetItemInfo(L"Author"), L"Artist");
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

}  // namespace
}  // namespace player
