#include "music-player/playlist.h"

#include <gtest/gtest.h>

namespace player {
namespace {

TEST(PlaylistTest, MediaEntriesInOrder) {
  const std::wstring wpl =
      L"<?wpl version=\"1.0\"?>\n<smil><head><title>List</title></head><body><seq>\n"
      L"<media src=\"a.mp3\"/>\n"
      L"<media src='sub/b &amp; c.wma' tid=\"{1}\"/>\n"
      L"<MEDIA SRC=\"D:\\Other\\c.mp3\"/>\n"
      L"<media tid=\"{2}\" src=\"..\\up\\d.wav\"/>\n"
      L"<media src=\"http://example.com/e.mp3\"/>\n"
      L"<media src=\"self.wpl\"/>\n"
      L"<media data-src=\"no.mp3\"/>\n"
      L"<media src=\"&#x6B4C;&#27468;.mp3\"/>\n"
      L"</seq></body></smil>";
  EXPECT_EQ(ParsePlaylist(wpl, L"C:\\Lists"),
            (std::vector<std::wstring>{L"C:\\Lists\\a.mp3", L"C:\\Lists\\sub\\b & c.wma",
                                       L"D:\\Other\\c.mp3", L"C:\\Lists\\..\\up\\d.wav",
                                       L"http://example.com/e.mp3", L"C:\\Lists\\歌歌.mp3"}));
}

TEST(PlaylistTest, BrokenInputGivesWhatCanBeRead) {
  EXPECT_TRUE(ParsePlaylist(L"", L"C:\\").empty());
  EXPECT_TRUE(ParsePlaylist(L"<media src=\"unterminated", L"C:\\").empty());
  EXPECT_TRUE(ParsePlaylist(L"<media", L"C:\\").empty());
  EXPECT_EQ(ParsePlaylist(L"<media src=\"x.mp3\">", L"E:\\"),
            (std::vector<std::wstring>{L"E:\\x.mp3"}));
  EXPECT_TRUE(IsPlaylist(L"C:\\a.WPL"));
  EXPECT_FALSE(IsPlaylist(L"C:\\a.mp3"));
}

}  // namespace
}  // namespace player
