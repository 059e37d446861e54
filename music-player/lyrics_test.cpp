#include "music-player/lyrics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "common/unicode.h"
#include "music-player/tag_test_files.h"
#include "testing/iconv_code_page.h"

namespace player {
namespace {

using test_files::Utf8;
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
      {L"a\nb\n", {L"a", L"b"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"\n", {L""}},
      {L"a\r\r\nb", {L"a", L"", L"b"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SplitLines(c.text), c.lines);
}

// UTF-16 bytes of `text`, little- or big-endian, without a mark.
std::string Utf16(std::wstring_view text, bool big_endian = false) {
  std::string bytes;
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

// The encodings with a mark, and UTF-8 without one, are found. A UTF-8 file
// without a mark in which a few bytes are not UTF-8 (one line saved by a
// Western editor) is UTF-8, those bytes replaced; GBK files stay GBK.
TEST(LyricsTest, EncodingsAreDetected) {
  const std::wstring text = L"[ti:七里香]\r\n[00:01.00]窗外的麻雀\r\n";
  const std::string chinese = Utf8(u8"[ti:七里香]\r\n[00:01.00]窗外的麻雀\r\n");
  const std::string eight = Utf8(u8"七里香窗外的麻雀");
  const struct {
    std::string name;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"GBK", Gbk(text), text},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + chinese, text},
      {"UTF-8", chinese, text},
      {"UTF-16LE with a mark", "\xFF\xFE" + Utf16(text), text},
      {"UTF-16BE with a mark", "\xFE\xFF" + Utf16(text, true), text},
      {"ASCII", "[ti:plain]", L"[ti:plain]"},
      {"one Western byte", chinese + "[00:05]Caf\xE9\r\n", text + L"[00:05]Caf\xFFFD\r\n"},
      {"a stray byte first", "\xE9" + chinese, L"\xFFFD" + text},
      // Eight Chinese characters for each stray byte are enough; seven are
      // not, and the ANSI code page reads the file.
      {"eight to one", eight + "\x80", L"七里香窗外的麻雀\xFFFD"},
      {"seven to one", eight.substr(3) + "\x80", kGbk.Decode(eight.substr(3) + "\x80")},
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

TEST(LyricsTest, StampsAndTextOfAnEntry) {
  const struct {
    std::wstring entry;
    std::vector<int64_t> stamps;
    std::wstring shown;
  } cases[] = {
      {L"[01:02.35]Some words", {62350}, L"Some words"},
      {L"[00:15.20][01:30.00]Chorus", {15200, 90000}, L"Chorus"},
      {L"[00:01.00]<00:01.00>你好 <00:01.60>世界", {1000}, L"你好 世界"},
      {L"[00:01.00]你好<00:01.60> 世界<00:02.10>", {1000}, L"你好 世界"},
      {L"[00:01.00]<00:01.000>a<00:01:50>b<1:02>c<100:02.5>d", {1000}, L"abcd"},
      // Not stamps: kept as written.
      {L"[00:01.00]I <3 you <b>bold</b> <00:1> <0a:01> <00:01.> [01]",
       {1000},
       L"I <3 you <b>bold</b> <00:1> <0a:01> <00:01.> [01]"},
      {L"[00:01.00]<00:01.00", {1000}, L"<00:01.00"},
      {L"[00:01]", {1000}, L""},
      // Tags and lines without a stamp are no lyric lines.
      {L"<00:01.00>", {}, L""},
      {L"[ar:00:01.00]", {}, L""},
      {L"no tags", {}, L""},
  };
  for (const auto& c : cases) {
    const LyricEntry parsed = ParseLyricEntry(c.entry);
    EXPECT_EQ(parsed.stamps_ms, c.stamps) << c.entry;
    EXPECT_EQ(parsed.text, c.shown) << c.entry;
  }
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

// The line shown at a position: the last one due, after the file's offset.
TEST(LyricsTest, SyncShowsTheLastLineDue) {
  const Lyrics plain({
      L"[ti:Song]",
      L"[01:02.35]Some words",
      L"[00:15.20][01:30.00]Chorus",
      L"[01:05.10]first",
      L"[01:05.90]second",
      L"[02:10]We met at 01:05",
      L"",
  });
  const Lyrics sooner({
      L"[offset:+3000]",
      L"[00:03.00]three",
      L"[00:06.00]<00:06.00>six <00:06.50>too",
      L"[00:09.00]nine",
  });
  const Lyrics later({L"[offset:-3000]", L"[00:03.00]three"});
  // Word stamps take no part: "<01:02:50>" is no line of 02:50.
  const Lyrics stamped({L"[02:50.00]late", L"[01:02.00]<01:02:50>early <01:03:10>words"});
  const Lyrics none;
  const struct {
    const Lyrics* lyrics;
    std::wstring position;
    std::optional<std::wstring> shown;
  } cases[] = {
      {&plain, L"00:14", L""},  // before the first line
      {&plain, L"00:15", L"Chorus"},
      {&plain, L"01:02", L"Some words"},
      {&plain, L"01:30", L"Chorus"},
      // Two lines within one second: the later one, for the whole second.
      {&plain, L"01:05", L"second"},
      {&plain, L"01:29", L"second"},
      {&plain, L"03:00", L"We met at 01:05"},
      {&plain, L"1:02:00", L"We met at 01:05"},
      // An empty position shows the last entry's text; one that cannot be
      // read changes nothing.
      {&plain, L"", L""},
      {&plain, L"1:2", std::nullopt},
      {&plain, L"00:0x", std::nullopt},
      {&none, L"00:01", L""},
      {&sooner, L"00:00", L"three"},
      {&sooner, L"00:03", L"six too"},
      {&sooner, L"00:06", L"nine"},
      {&later, L"00:05", L""},
      {&later, L"00:06", L"three"},
      {&stamped, L"01:02", L"early words"},
      {&stamped, L"02:49", L"early words"},
      {&stamped, L"02:50", L"late"},
  };
  EXPECT_EQ(sooner.offset_ms(), 3000);
  for (const auto& c : cases)
    EXPECT_EQ(c.lyrics->At(c.position), c.shown)
        << c.position << " showing " << c.shown.value_or(L"(no change)");
}

// The bytes of a file of music-player/corpus; "" when it cannot be read.
std::string Corpus(const char* name) {
  std::ifstream in(std::string(SUITE_SOURCE_DIR) + "/music-player/corpus/" + name,
                   std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Lyric files of the shapes lyric sites, karaoke tools and editors write,
// from their bytes to the line shown at each position.
TEST(LyricsTest, ShapesOfLyricFiles) {
  const struct {
    const char* shape;
    std::string bytes;
    std::vector<std::pair<std::wstring, std::wstring>> shown;  // position, line
  } cases[] = {
      {"word-timed inline", "[00:01.00]Hello [00:01.50]world\r\n", {{L"00:01", L"Hello world"}}},
      {"brackets in the text",
       "[00:01.00]Sing it again [x2]\r\n",
       {{L"00:01", L"Sing it again [x2]"}}},
      {"blanks around word stamps",
       "[00:01.00] <00:01.00> Hello <00:01.50> world <00:02.00>\r\n",
       {{L"00:01", L"Hello world"}}},
      {"offset +500",
       "[offset:+500]\r\n[00:01.00]one\r\n[00:02.80]two\r\n[00:04.00]three\r\n",
       {{L"00:00", L""},
        {L"00:01", L"one"},
        {L"00:02", L"two"},
        {L"00:03", L"two"},
        {L"00:04", L"three"}}},
      {"offset -1500",
       "[offset:-1500]\r\n[00:02.00]one\r\n[00:04.00]two\r\n",
       {{L"00:03", L""}, {L"00:04", L"one"}, {L"00:05", L"one"}, {L"00:06", L"two"}}},
      {"past 99 minutes",
       "[00:01.00]start\r\n[100:00.50]late\r\n",
       {{L"00:00", L""}, {L"00:01", L"start"}, {L"99:59", L"start"}, {L"100:00", L"late"}}},
      {"hundredths after a colon",
       "[00:01:05]one\r\n[00:30.00]two\r\n",
       {{L"00:01", L"one"}, {L"01:05", L"two"}}},
      {"line feeds only, GBK",
       Gbk(L"[00:01]第一行\n[00:02]第二行\n"),
       {{L"00:01", L"第一行"}, {L"00:02", L"第二行"}}},
      {"one-digit minutes", "[0:01.00]Hello\r\n", {{L"00:01", L"Hello"}}},
      {"a time in the text",
       "[00:01.00]one\r\n[02:10.00]We met at 01:05\r\n",
       {{L"01:05", L"one"}}},
      {"a tag holding a time", "[length: 03:45]\r\n[00:01.00]one\r\n", {{L"03:45", L"one"}}},
      {"UTF-16LE without a mark", Utf16(L"[ti:你好]\r\n[00:01.00]你好\r\n"), {{L"00:01", L"你好"}}},
      {"short UTF-8 with one Western byte",
       "[00:01.00]\xE7\xAC\xAC\xE4\xB8\x80\xE5\x8F\xA5\r\n[00:09.00]caf\xE9 au lait\r\n",
       {{L"00:01", L"第一句"}, {L"00:09", L"caf\xFFFD au lait"}}},
      // Files that other lyric tools wrote (bench/lyrics/make_corpus.sh): ffmpeg,
      // Gaupol's library (GBK, and UTF-16LE, which it writes without a mark;
      // it drops the hours of 1:40:00.50), lrc-kit and paroles.
      {"lyric_ffmpeg.lrc",
       Corpus("lyric_ffmpeg.lrc"),
       {{L"00:00", L""},
        {L"00:01", L"窗外的麻雀"},
        {L"00:02", L"Sing it again [x2]"},
        {L"01:05", L"在电线杆上多嘴"},
        {L"100:00", L"late"}}},
      {"lyric_gaupol_gbk.lrc",
       Corpus("lyric_gaupol_gbk.lrc"),
       {{L"00:01", L""},
        {L"00:02", L"窗外的麻雀"},
        {L"00:03", L"Sing it again [x2]"},
        {L"01:06", L"在电线杆上多嘴"},
        {L"40:01", L"late"}}},
      {"lyric_gaupol_utf16le.lrc",
       Corpus("lyric_gaupol_utf16le.lrc"),
       {{L"00:02", L"窗外的麻雀"}, {L"01:06", L"在电线杆上多嘴"}, {L"40:01", L"late"}}},
      {"lyric_lrc_kit.lrc",
       Corpus("lyric_lrc_kit.lrc"),
       {{L"00:00", L""},
        {L"00:02", L"在电线杆上多嘴"},
        {L"00:15", L"副歌 [x2]"},
        {L"01:29", L"副歌 [x2]"},
        {L"100:00", L"late"}}},
      {"lyric_paroles.lrc",
       Corpus("lyric_paroles.lrc"),
       {{L"00:01", L"窗外的麻雀"},
        {L"00:03", L"你说这一句"},
        {L"00:04", L"Sing it again [x2]"},
        {L"04:59", L"Sing it again [x2]"}}},
  };
  for (const auto& c : cases) {
    const Lyrics lyrics(SplitLines(DecodeLyricBytes(c.bytes, kGbk)));
    for (const auto& [position, line] : c.shown)
      EXPECT_EQ(lyrics.At(position), line) << c.shape << " at " << position;
  }
}

}  // namespace
}  // namespace player
