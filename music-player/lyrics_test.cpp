#include "music-player/lyrics.h"

#include <gtest/gtest.h>

#include "testing/iconv_code_page.h"

namespace player {
namespace {

using testing_support::Gbk;
using testing_support::IconvCodePage;

const IconvCodePage kGbk;

TEST(LyricsTest, LineEndsOfEveryKind) {
  const struct {
    std::wstring text;
    std::vector<std::wstring> lines;
  } cases[] = {
      {L"", {}},
      {L"a", {L"a"}},
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\rb\r", {L"a", L"b"}},
      // Line feeds alone end lines too (files from other systems).
      {L"a\nb\nc", {L"a", L"b", L"c"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"\n", {L""}},
      {L"a\r\r\nb", {L"a", L"", L"b"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitLines(c.text), c.lines);
}

TEST(LyricsTest, EncodingsAreDetected) {
  const std::wstring text = L"[00:01.00]月亮代表我的心\r\n";
  std::string utf16le = "\xFF\xFE";
  std::string utf16be = "\xFE\xFF";
  for (wchar_t c : text) {
    utf16le += static_cast<char>(c & 0xFF);
    utf16le += static_cast<char>(c >> 8);
    utf16be += static_cast<char>(c >> 8);
    utf16be += static_cast<char>(c & 0xFF);
  }
  const std::string utf8 =
      "[00:01.00]\xE6\x9C\x88\xE4\xBA\xAE\xE4\xBB\xA3\xE8\xA1\xA8\xE6\x88\x91"
      "\xE7\x9A\x84\xE5\xBF\x83\r\n";
  EXPECT_EQ(DecodeLyricBytes(Gbk(text), kGbk), text);
  EXPECT_EQ(DecodeLyricBytes("\xEF\xBB\xBF" + utf8, kGbk), text);
  EXPECT_EQ(DecodeLyricBytes(utf8, kGbk), text);
  EXPECT_EQ(DecodeLyricBytes(utf16le, kGbk), text);
  EXPECT_EQ(DecodeLyricBytes(utf16be, kGbk), text);
  EXPECT_EQ(DecodeLyricBytes("[ti:plain]", kGbk), L"[ti:plain]");
}

TEST(LyricsTest, TextAfterTheLastBracket) {
  EXPECT_EQ(LyricText(L"[01:02.35]Some words"), L"Some words");
  EXPECT_EQ(LyricText(L"[00:15.20][01:30.00]Chorus"), L"Chorus");
  EXPECT_EQ(LyricText(L"no tags"), L"no tags");
  EXPECT_EQ(LyricText(L"[ends]"), L"");
}

TEST(LyricsTest, SyncPicksTheLastMatchingEntry) {
  const std::vector<std::wstring> entries = {
      L"[ti:Song]",
      L"[01:02.35]Some words",
      L"[00:15.20][01:30.00]Chorus",
      L"[01:05.10]first",
      L"[01:05.90]second",
      L"[02:10]We met at 01:05",
      L"",
  };
  EXPECT_EQ(SyncLyrics(entries, L"01:02"), L"Some words");
  EXPECT_EQ(SyncLyrics(entries, L"00:15"), L"Chorus");
  EXPECT_EQ(SyncLyrics(entries, L"01:30"), L"Chorus");
  // Two lines within one second, and a text containing the position: the
  // last in the file wins.
  EXPECT_EQ(SyncLyrics(entries, L"01:05"), L"We met at 01:05");
  EXPECT_EQ(SyncLyrics(entries, L"03:00"), std::nullopt);
  // An empty position matches everything: the last entry's text.
  EXPECT_EQ(SyncLyrics(entries, L""), L"");
  EXPECT_EQ(SyncLyrics({}, L"00:01"), std::nullopt);
}

TEST(LyricsTest, LineFeedOnlyFileGivesOneEntryPerLine) {
  const std::string file = Gbk(L"[00:01]第一行\n[00:02]第二行\n");
  const auto lines = SplitLines(DecodeLyricBytes(file, kGbk));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(SyncLyrics(lines, L"00:02"), L"第二行");
}

}  // namespace
}  // namespace player
