#include "music-player/tag_reader.h"

#include <gtest/gtest.h>

#include "testing/iconv_code_page.h"

namespace player {
namespace {

using testing_support::Gbk;
using testing_support::IconvCodePage;

const IconvCodePage kGbk;

std::string Be32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
std::string SyncSafe(uint32_t v) {
  return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}
std::string Le(uint64_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i)
    s += char(v >> (8 * i));
  return s;
}
std::string Utf16Le(const std::wstring& text, bool nul = true) {
  std::string s;
  for (wchar_t c : text)
    s += Le(static_cast<uint16_t>(c), 2);
  if (nul)
    s += std::string(2, '\0');
  return s;
}

// An ID3v2 tag with the given frames (id, encoding byte + text bytes).
std::string Id3v2(int major,
                  const std::vector<std::pair<std::string, std::string>>& frames,
                  uint8_t flags = 0,
                  const std::string& extended = "") {
  std::string body = extended;
  for (const auto& [id, data] : frames) {
    if (major == 2) {
      body += id + Be32(static_cast<uint32_t>(data.size())).substr(1) + data;
    } else {
      body += id +
              (major == 3 ? Be32(static_cast<uint32_t>(data.size()))
                          : SyncSafe(static_cast<uint32_t>(data.size()))) +
              std::string(2, '\0') + data;
    }
  }
  body += std::string(16, '\0');  // padding
  return "ID3" + std::string(1, char(major)) + std::string(1, '\0') + std::string(1, char(flags)) +
         SyncSafe(static_cast<uint32_t>(body.size())) + body;
}

MediaTags Read(const std::string& bytes) {
  MemorySource source(bytes);
  return ReadTags(source, kGbk);
}

TEST(TagReaderTest, Id3v2VersionsAndEncodings) {
  const std::string audio(1000, '\x55');
  const struct {
    std::string name;
    std::string file;
    std::wstring author, title;
  } cases[] = {
      {"2.3 latin/gbk",
       Id3v2(3, {{"TPE1", std::string(1, '\0') + Gbk(L"邓丽君")},
                 {"TIT2", std::string("\0Tian Mi Mi", 11)}}) +
           audio,
       L"邓丽君", L"Tian Mi Mi"},
      {"2.3 utf16 bom",
       Id3v2(3, {{"TPE1", "\x01\xFF\xFE" + Utf16Le(L"歌手")},
                 {"TIT2", "\x01\xFF\xFE" + Utf16Le(L"歌名")}}) +
           audio,
       L"歌手", L"歌名"},
      {"2.4 utf8",
       Id3v2(4, {{"TPE1",
                  "\x03"
                  "Artist\0"},
                 {"TIT2", "\x03\xE6\xAD\x8C"}}) +
           audio,
       L"Artist", L"歌"},
      {"2.4 utf16be", Id3v2(4, {{"TIT2", std::string("\x02\x6B\x4C\x00\x41", 5)}}) + audio, L"",
       L"歌A"},
      {"2.2",
       Id3v2(2, {{"TP1", std::string("\0Old", 4)}, {"TT2", std::string("\0Tune", 5)}}) + audio,
       L"Old", L"Tune"},
      {"2.3 extended header",
       Id3v2(3, {{"TIT2", std::string("\0X", 2)}}, 0x40, Be32(6) + std::string(6, '\0')) + audio,
       L"", L"X"},
      {"2.4 extended header",
       Id3v2(4, {{"TIT2", std::string("\0Y", 2)}}, 0x40, SyncSafe(6) + std::string(2, '\0')) +
           audio,
       L"", L"Y"},
  };
  for (const auto& c : cases) {
    const MediaTags tags = Read(c.file);
    EXPECT_EQ(tags.author, c.author) << c.name;
    EXPECT_EQ(tags.title, c.title) << c.name;
  }
}

TEST(TagReaderTest, Unsynchronisation) {
  // Whole-tag unsynchronisation (2.3): the 0x00 stuffed after an 0xFF goes
  // before the frames are read; the frame size counts without it.
  std::string frame_data = std::string("\0", 1) + "a\xFF" + std::string(1, '\0') + "b";
  std::string body = "TIT2" + Be32(static_cast<uint32_t>(frame_data.size() - 1)) +
                     std::string(2, '\0') + frame_data;
  std::string file = "ID3\x03" + std::string(1, '\0') + "\x80" +
                     SyncSafe(static_cast<uint32_t>(body.size())) + body;
  const MediaTags tags = Read(file);
  EXPECT_EQ(tags.title.substr(0, 1), L"a");
  EXPECT_EQ(tags.title.size(), 3u);  // "a", the 0xFF byte, "b"
  EXPECT_EQ(tags.title.back(), L'b');
}

TEST(TagReaderTest, Id3v1InGbkAndPriority) {
  std::string v1 = "TAG" + Gbk(L"夜来香") + std::string(30 - 6, '\0') + Gbk(L"李香兰") +
                   std::string(30 - 6, ' ') + std::string(128 - 63, '\0');
  ASSERT_EQ(v1.size(), 128u);
  MediaTags tags = Read(std::string(500, '\x11') + v1);
  EXPECT_EQ(tags.title, L"夜来香");
  EXPECT_EQ(tags.author, L"李香兰");
  // ID3v2 wins where it has a value; ID3v1 fills the rest.
  tags = Read(Id3v2(3, {{"TIT2", std::string("\0V2", 3)}}) + std::string(100, 'x') + v1);
  EXPECT_EQ(tags.title, L"V2");
  EXPECT_EQ(tags.author, L"李香兰");
}

TEST(TagReaderTest, AsfContentDescription) {
  const std::string title = Utf16Le(L"风继续吹"), author = Utf16Le(L"张国荣");
  std::string content =
      std::string("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  const std::string fields =
      Le(title.size(), 2) + Le(author.size(), 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + title + author;
  content += Le(24 + fields.size(), 8) + fields;
  std::string other = std::string(16, '\x01') + Le(24 + 4, 8) + "abcd";
  std::string header =
      std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  header += Le(30 + other.size() + content.size(), 8) + Le(2, 4) + "\x01\x02" + other + content;
  const MediaTags tags = Read(header + std::string(200, 'd'));
  EXPECT_EQ(tags.title, L"风继续吹");
  EXPECT_EQ(tags.author, L"张国荣");
}

TEST(TagReaderTest, RiffInfo) {
  const std::string inam = Gbk(L"名字");
  std::string info = "INFO" + std::string("INAM") + Le(inam.size() + 1, 4) + inam + '\0' + '\0' +
                     "IART" + Le(4, 4) + "Band";
  std::string wave = "WAVE" + std::string("fmt ") + Le(16, 4) + std::string(16, '\0') + "data" +
                     Le(3, 4) + "abc" + '\0' + "LIST" + Le(info.size(), 4) + info;
  const MediaTags tags = Read("RIFF" + Le(wave.size(), 4) + wave);
  EXPECT_EQ(tags.title, L"名字");
  EXPECT_EQ(tags.author, L"Band");
}

TEST(TagReaderTest, NoTagsAndTitleFallback) {
  EXPECT_EQ(Read(std::string(3000, '\0')).title, L"");
  EXPECT_EQ(Read("").title, L"");
  EXPECT_EQ(TitleFromAddress(L"D:\\Music\\歌曲.mp3"), L"歌曲");
  EXPECT_EQ(TitleFromAddress(L"D:\\a.b\\song.flac"), L"song");
  EXPECT_EQ(TitleFromAddress(L"http://radio.example.com/live/stream.wma?id=3"), L"stream");
  EXPECT_EQ(TitleFromAddress(L"D:\\noext"), L"noext");
}

TEST(TagReaderTest, AbsurdSizesAreBounded) {
  // A tag claiming far more than the file holds, frames claiming more than
  // the tag, an ASF header claiming gigabytes.
  std::string huge = "ID3\x03" + std::string(2, '\0') + SyncSafe(0x0FFFFFFF) + "TIT2" +
                     Be32(0xFFFFFFF0) + std::string(2, '\0') + std::string("\0abc", 4);
  EXPECT_EQ(Read(huge).title, L"abc");
  std::string asf =
      std::string("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16) +
      Le(0xFFFFFFFFFFFFull, 8) + Le(0xFFFFFFFF, 4) + "\x01\x02" + std::string(40, '\xFF');
  EXPECT_EQ(Read(asf).title, L"");
  std::string riff =
      "RIFF" + Le(0xFFFFFFF0, 4) + "WAVE" + "LIST" + Le(0xFFFFFFF0, 4) + "INFO" + "INAM";
  EXPECT_EQ(Read(riff).title, L"");
}

}  // namespace
}  // namespace player
