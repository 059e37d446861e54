#include "music-player/lyrics.h"

#include <gtest/gtest.h>

#include <random>

#include "common/unicode.h"
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

// A UTF-8 file without a byte-order mark in which a few bytes are not UTF-8
// (one line saved by a Western editor) is UTF-8, those bytes replaced; GBK
// files stay GBK.
TEST(LyricsTest, Utf8WithStrayBytes) {
  const std::string chinese =
      "[ti:\xE4\xB8\x83\xE9\x87\x8C\xE9\xA6\x99]\r\n"                                // 七里香
      "[00:01.00]\xE7\xAA\x97\xE5\xA4\x96\xE7\x9A\x84\xE9\xBA\xBB\xE9\x9B\x80\r\n";  // 窗外的麻雀
  const std::wstring text = L"[ti:七里香]\r\n[00:01.00]窗外的麻雀\r\n";
  const std::string eight =
      "\xE4\xB8\x83\xE9\x87\x8C\xE9\xA6\x99\xE7\xAA\x97\xE5\xA4\x96\xE7\x9A\x84\xE9\xBA\xBB\xE9\x9B"
      "\x80";
  const struct {
    std::string name;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"one Western byte", chinese + "[00:05]Caf\xE9\r\n", text + L"[00:05]Caf\xFFFD\r\n"},
      {"a stray byte first", "\xE9" + chinese, L"\xFFFD" + text},
      // Eight Chinese characters for each stray byte are enough; seven are
      // not, and the ANSI code page reads the file, as before.
      {"eight to one", eight + "\x80", L"七里香窗外的麻雀\xFFFD"},
      {"seven to one", eight.substr(3) + "\x80", kGbk.Decode(eight.substr(3) + "\x80")},
      {"GBK", Gbk(text), text},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeLyricBytes(c.bytes, kGbk), c.text) << c.name;
}

// GBK lyric files of common characters, one to sixty lines, are read as
// GBK. (A few of one short line are well-formed UTF-8 as well, and are read
// so, as ever.)
TEST(LyricsTest, GbkFilesStayGbk) {
  std::mt19937 random(5);
  for (int file = 0; file < 3000; ++file) {
    std::string bytes;
    const int lines = 1 + static_cast<int>(random() % 60);
    for (int line = 0; line < lines; ++line) {
      bytes += "[00:" + std::to_string(10 + line % 50) + ".00]";
      for (int c = 1 + random() % 12; c > 0; --c) {
        bytes += char(0xB0 + random() % 72);
        bytes += char(0xA1 + random() % 94);
      }
      bytes += "\r\n";
    }
    if (!common::IsValidUtf8(bytes)) {
      ASSERT_EQ(DecodeLyricBytes(bytes, kGbk), kGbk.Decode(bytes)) << file;
    }
  }
}

TEST(LyricsTest, WordStampsAreHidden) {
  const struct {
    std::wstring entry;
    std::wstring shown;
  } cases[] = {
      {L"[00:01.00]<00:01.00>你好 <00:01.60>世界", L"你好 世界"},
      {L"[00:01.00]你好<00:01.60> 世界<00:02.10>", L"你好 世界"},
      {L"[00:01.00]<00:01.000>a<00:01:50>b<1:02>c<100:02.5>d", L"abcd"},
      // Not word stamps: kept as written.
      {L"[00:01.00]I <3 you <b>bold</b> <00:1> <0a:01> <00:01.>",
       L"I <3 you <b>bold</b> <00:1> <0a:01> <00:01.>"},
      {L"[00:01.00]<00:01.00", L"<00:01.00"},
      {L"<00:01.00>", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LyricText(c.entry), c.shown) << c.entry;
}

TEST(LyricsTest, OffsetHeader) {
  const struct {
    std::vector<std::wstring> entries;
    int offset;
  } cases[] = {
      {{L"[ti:x]", L"[offset:+3000]", L"[00:06]six"}, 3000},
      {{L"[offset:-500]"}, -500},
      {{L"[offset:250]"}, 250},
      {{L"[OFFSET: +1200 ]"}, 1200},
      {{L"[offset:0]"}, 0},
      {{L"[offset:abc]", L"[offset:]", L"[offset:+-5]", L"[offset:12"}, 0},
      // The first that can be read counts.
      {{L"[offset:x]", L"[offset:100]", L"[offset:200]"}, 100},
      {{L"[00:01]words", L"offset:400]"}, 0},
      {{}, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LyricOffset(c.entries), c.offset) << (c.entries.empty() ? L"" : c.entries[0]);
}

TEST(LyricsTest, PositionShiftedByTheOffset) {
  const struct {
    std::wstring position;
    int offset;
    std::optional<std::wstring> shifted;
  } cases[] = {
      {L"00:03", 3000, L"00:06"},
      {L"00:03", 0, L"00:03"},
      {L"00:06", -3000, L"00:03"},
      {L"01:59", 1000, L"02:00"},
      {L"99:59", 1000, L"100:00"},
      // The position text stands for a whole second: its middle moves.
      {L"00:03", 500, L"00:04"},
      {L"00:03", 499, L"00:03"},
      {L"00:03", -500, L"00:03"},
      {L"00:03", -501, L"00:02"},
      // Before the start: nothing to match yet.
      {L"00:02", -3000, std::nullopt},
      {L"00:00", -500, L"00:00"},
      // Nothing to shift.
      {L"", 3000, L""},
      {L"3:5", 3000, L"3:5"},
      {L"00:03x", 3000, L"00:03x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ShiftedPosition(c.position, c.offset), c.shifted) << c.position << " " << c.offset;
}

TEST(LyricsTest, SyncWithAnOffset) {
  const std::vector<std::wstring> entries = {
      L"[offset:+3000]",
      L"[00:03.00]three",
      L"[00:06.00]<00:06.00>six <00:06.50>too",
      L"[00:09.00]nine",
  };
  // Word stamps take no part in the match: "<01:02:50>" holds "02:50",
  // "<01:03:10>" holds "03:10".
  const std::vector<std::wstring> stamped = {
      L"[02:50.00]late",
      L"[01:02.00]<01:02:50>early <01:03:10>words",
  };
  const struct {
    const std::vector<std::wstring>* entries;
    std::wstring position;
    int offset;
    std::optional<std::wstring> shown;
  } cases[] = {
      {&entries, L"00:03", 3000, L"six too"},    {&entries, L"00:06", 3000, L"nine"},
      {&entries, L"00:00", 3000, L"three"},      {&entries, L"00:01", 3000, std::nullopt},
      {&entries, L"00:02", -3000, std::nullopt}, {&entries, L"00:03", 0, L"three"},
      {&stamped, L"02:50", 0, L"late"},          {&stamped, L"01:02", 0, L"early words"},
      {&stamped, L"03:10", 0, std::nullopt},
  };
  ASSERT_EQ(LyricOffset(entries), 3000);
  for (const auto& c : cases)
    EXPECT_EQ(SyncLyrics(*c.entries, c.position, c.offset), c.shown)
        << c.position << " " << c.offset;
}

}  // namespace
}  // namespace player
