#include "music-player/tag_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocator interface (GCC installs no header for
// it).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                              void (*)(const volatile void*));
}
#endif

#include "music-player/tag_test_files.h"
#include "testing/iconv_code_page.h"

namespace player {
namespace {

using namespace test_files;
using testing_support::Gbk;
using testing_support::IconvCodePage;

const IconvCodePage kGbk;

struct TagCase {
  std::string name;
  std::string file;
  std::wstring author, title;
};

// Reads each file's tags through a source that records its reads: the
// author and title, and no read larger than the reader may hold, whatever
// the sizes in the file claim.
void ExpectTags(const std::vector<TagCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSource source(c.file);
    const MediaTags tags = ReadTags(source, kGbk);
    EXPECT_EQ(tags.author, c.author);
    EXPECT_EQ(tags.title, c.title);
    EXPECT_LE(source.largest_read(), kMaxTagReadBytes);
  }
}

const std::string kAsfHeader("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C",
                             16);

// An ASF header and a RIFF file laid out by hand, not by the helpers: the
// content description among other objects, a RIFF chunk of odd size with
// its pad byte.
std::string HandMadeAsf() {
  const std::string title = Utf16Le(L"风继续吹"), author = Utf16Le(L"张国荣");
  std::string content =
      std::string("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
  const std::string fields =
      Le(title.size(), 2) + Le(author.size(), 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + title + author;
  content += Le(24 + fields.size(), 8) + fields;
  std::string other = std::string(16, '\x01') + Le(24 + 4, 8) + "abcd";
  return kAsfHeader + Le(30 + other.size() + content.size(), 8) + Le(2, 4) + "\x01\x02" + other +
         content + std::string(200, 'd');
}
std::string HandMadeRiff() {
  const std::string inam = Gbk(L"名字");
  std::string info = "INFO" + std::string("INAM") + Le(inam.size() + 1, 4) + inam + '\0' + '\0' +
                     "IART" + Le(4, 4) + "Band";
  std::string wave = "WAVE" + std::string("fmt ") + Le(16, 4) + std::string(16, '\0') + "data" +
                     Le(3, 4) + "abc" + '\0' + "LIST" + Le(info.size(), 4) + info;
  return "RIFF" + Le(wave.size(), 4) + wave;
}

TEST(TagReaderTest, EachKindOfTag) {
  const std::string audio(1000, '\x55');
  const std::string v1 = "TAG" + Gbk(L"夜来香") + std::string(30 - 6, '\0') + Gbk(L"李香兰") +
                         std::string(30 - 6, ' ') + std::string(128 - 63, '\0');
  ASSERT_EQ(v1.size(), 128u);
  ExpectTags({
      {"2.3 latin/gbk",
       Id3v2(3, {{"TPE1", Latin1Frame(Gbk(L"邓丽君"))}, {"TIT2", Latin1Frame("Tian Mi Mi")}}) +
           audio,
       L"邓丽君", L"Tian Mi Mi"},
      {"2.3 utf16 bom",
       Id3v2(3, {{"TPE1", Utf16Frame(L"歌手")}, {"TIT2", Utf16Frame(L"歌名")}}) + audio, L"歌手",
       L"歌名"},
      {"2.4 utf8", Id3v2(4, {{"TPE1", Utf8Frame(u8"Artist")}, {"TIT2", Utf8Frame(u8"歌")}}) + audio,
       L"Artist", L"歌"},
      // The text's end marked by a NUL, as some writers do.
      {"2.4 utf8, NUL at the end",
       Id3v2(4, {{"TPE1", Utf8Frame(u8"Artist") + std::string(1, '\0')}}) + audio, L"Artist", L""},
      {"2.4 utf16be", Id3v2(4, {{"TIT2", std::string("\x02\x6B\x4C\x00\x41", 5)}}) + audio, L"",
       L"歌A"},
      {"2.2", Id3v2(2, {{"TP1", Latin1Frame("Old")}, {"TT2", Latin1Frame("Tune")}}) + audio, L"Old",
       L"Tune"},
      {"2.3 extended header",
       Id3v2(3, {{"TIT2", Latin1Frame("X")}}, Flags(0x40, Be32(6) + std::string(6, '\0'))) + audio,
       L"", L"X"},
      {"2.4 extended header",
       Id3v2(4, {{"TIT2", Latin1Frame("Y")}}, Flags(0x40, SyncSafe(6) + std::string(2, '\0'))) +
           audio,
       L"", L"Y"},
      {"ID3v1 in GBK", std::string(500, '\x11') + v1, L"李香兰", L"夜来香"},
      // ID3v2 wins where it has a value; ID3v1 fills the rest.
      {"ID3v2 before ID3v1", Id3v2(3, {{"TIT2", Latin1Frame("V2")}}) + std::string(100, 'x') + v1,
       L"李香兰", L"V2"},
      {"ASF content description", HandMadeAsf(), L"张国荣", L"风继续吹"},
      {"RIFF INFO", HandMadeRiff(), L"Band", L"名字"},
      {"ASF picture before the content description",
       Asf({AsfObject(std::string(16, '\x07'), std::string(3 * 1000 * 1000, 'p')),
            AsfContent(L"风继续吹", L"张国荣")}) +
           "data",
       L"张国荣", L"风继续吹"},
      {"no tags", std::string(3000, '\0'), L"", L""},
      {"empty", "", L"", L""},
      // A tag claiming far more than the file holds, frames claiming more
      // than the tag, an ASF header claiming gigabytes.
      {"huge ID3v2",
       "ID3\x03" + std::string(2, '\0') + SyncSafe(0x0FFFFFFF) + "TIT2" + Be32(0xFFFFFFF0) +
           std::string(2, '\0') + std::string("\0abc", 4),
       L"", L"abc"},
      {"huge ASF",
       kAsfHeader + Le(0xFFFFFFFFFFFFull, 8) + Le(0xFFFFFFFF, 4) + "\x01\x02" +
           std::string(40, '\xFF'),
       L"", L""},
      {"huge RIFF",
       "RIFF" + Le(0xFFFFFFF0, 4) + "WAVE" + "LIST" + Le(0xFFFFFFF0, 4) + "INFO" + "INAM", L"",
       L""},
  });
}

TEST(TagReaderTest, Unsynchronisation) {
  // Whole-tag unsynchronisation (2.3): the 0x00 stuffed after an 0xFF goes
  // before the frames are read; the frame size counts without it.
  std::string frame_data = std::string("\0", 1) + "a\xFF" + std::string(1, '\0') + "b";
  std::string body = "TIT2" + Be32(static_cast<uint32_t>(frame_data.size() - 1)) +
                     std::string(2, '\0') + frame_data;
  MemorySource source("ID3\x03" + std::string(1, '\0') + "\x80" +
                      SyncSafe(static_cast<uint32_t>(body.size())) + body);
  const MediaTags tags = ReadTags(source, kGbk);
  EXPECT_EQ(tags.title.substr(0, 1), L"a");
  EXPECT_EQ(tags.title.size(), 3u);  // "a", the 0xFF byte, "b"
  EXPECT_EQ(tags.title.back(), L'b');
}

TEST(TagReaderTest, TitleFromAddress) {
  EXPECT_EQ(TitleFromAddress(L"D:\\Music\\歌曲.mp3"), L"歌曲");
  EXPECT_EQ(TitleFromAddress(L"D:\\a.b\\song.flac"), L"song");
  EXPECT_EQ(TitleFromAddress(L"http://radio.example.com/live/stream.wma?id=3"), L"stream");
  EXPECT_EQ(TitleFromAddress(L"D:\\noext"), L"noext");
}

// A cover picture larger than anything the reader holds, before the text
// frames (one widely used tag writer always writes it first).
TEST(TagReaderTest, LargeCoverBeforeTheTexts) {
  constexpr size_t kCover = 2300 * 1000;
  const std::string audio(5000, '\x55');
  const std::string artist = Utf16Frame(L"周杰伦"), title = Utf16Frame(L"七里香");
  const auto cover = [&](int major, Id3Options options = {}) {
    return Id3v2(major, {{"APIC", PictureFrame(major, kCover)}, {"TPE1", artist}, {"TIT2", title}},
                 options) +
           audio;
  };
  ExpectTags({
      {"2.3", cover(3), L"周杰伦", L"七里香"},
      {"2.4", cover(4), L"周杰伦", L"七里香"},
      {"2.2", Id3v2(2, {{"PIC", PictureFrame(2, kCover)}, {"TP1", artist}, {"TT2", title}}) + audio,
       L"周杰伦", L"七里香"},
      // The whole tag unsynchronised: the picture's 0xFF bytes are followed
      // by stuffing that the frame sizes do not count.
      {"2.3 unsynchronised", cover(3, Flags(0x80)), L"周杰伦", L"七里香"},
      {"2.4 plain sizes", cover(4, PlainSizes()), L"周杰伦", L"七里香"},
      {"2.3 two covers and an extended header",
       Id3v2(3,
             {{"APIC", PictureFrame(3, kCover)},
              {"APIC", PictureFrame(3, kCover)},
              {"TPE1", artist},
              {"TIT2", title}},
             Flags(0x40, Be32(6) + std::string(6, '\0'))) +
           audio,
       L"周杰伦", L"七里香"},
  });
}

// ID3v2.4 frame sizes written as plain integers rather than syncsafe ones.
TEST(TagReaderTest, Id3v24PlainFrameSizes) {
  const std::string artist = Utf16Frame(L"歌手"), title = Utf16Frame(L"歌名");
  // 300 bytes: 00 00 01 2C, 172 when read syncsafe; 4660: 00 00 12 34,
  // 2356 syncsafe; 150: 00 00 00 96, whose top bit no syncsafe size has.
  const std::string comment = Latin1Frame(std::string(299, 'c'));
  const std::string picture = PictureFrame(4, 4660 - PictureFrame(4, 0).size());
  const std::string short_comment = Latin1Frame(std::string(149, 'c'));
  ASSERT_EQ(picture.size(), 4660u);
  // A picture with a run of zeros where its size read syncsafe ends: that
  // place looks like padding, but the plain reading lands on a frame.
  std::string zeros_inside = picture;
  zeros_inside.replace(2356, 32, std::string(32, '\0'));
  Id3Options plain_unpadded = PlainSizes();
  plain_unpadded.padding = 0;
  Id3Options syncsafe_padded;
  syncsafe_padded.padding = 1000;
  const auto file = [](std::vector<std::pair<std::string, std::string>> frames,
                       Id3Options options) { return Id3v2(4, frames, options) + "audio"; };
  ExpectTags({
      {"plain, large frames first",
       file({{"TXXX", comment}, {"APIC", picture}, {"TPE1", artist}, {"TIT2", title}},
            PlainSizes()),
       L"歌手", L"歌名"},
      {"plain, a size with a top bit",
       file({{"COMM", short_comment}, {"TIT2", title}, {"TPE1", artist}}, PlainSizes()), L"歌手",
       L"歌名"},
      // The artist is the last frame, up to the tag's end: found only when
      // the picture's size is read plain.
      {"plain, a picture between the texts, no padding",
       file({{"TIT2", title}, {"APIC", picture}, {"TPE1", artist}}, plain_unpadded), L"歌手",
       L"歌名"},
      {"plain, zeros in the picture where the syncsafe size lands",
       file({{"APIC", zeros_inside}, {"TPE1", artist}, {"TIT2", title}}, PlainSizes()), L"歌手",
       L"歌名"},
      {"syncsafe, the same frames",
       file({{"TXXX", comment}, {"APIC", picture}, {"TPE1", artist}, {"TIT2", title}}, {}), L"歌手",
       L"歌名"},
      // TXXX read plain (556 bytes) lands in the padding, syncsafe on a frame.
      {"syncsafe, the plain reading inside the padding",
       file({{"TXXX", comment}, {"TIT2", title}, {"TPE1", artist}}, syncsafe_padded), L"歌手",
       L"歌名"},
      // Where both readings land on a frame, the syncsafe one is the
      // standard's and wins: TXXX of 300 bytes is 00 00 02 2C syncsafe, 556
      // read plain, where the artist frame starts.
      {"syncsafe, both readings on a frame",
       file({{"TXXX", Latin1Frame(std::string(299, 'x'))},
             {"TIT2", Latin1Frame("T" + std::string(556 - 300 - 10 - 2, 't'))},
             {"TPE1", Latin1Frame("A")}},
            {}),
       L"A", L"T" + std::wstring(556 - 300 - 10 - 2, L't')},
  });
}

// One-byte fields: GBK that Chinese tools write stays GBK, also where its
// bytes happen to be well-formed UTF-8 ("石头", "韦唯", "路"); the UTF-8 a
// common converter writes into the same fields becomes UTF-8.
TEST(TagReaderTest, OneByteFieldsHoldGbkOrUtf8) {
  const struct {
    std::wstring text;
    std::string bytes;
  } texts[] = {
      {L"邓丽君", Gbk(L"邓丽君")},
      {L"石头", Gbk(L"石头")},
      {L"韦唯", Gbk(L"韦唯")},
      {L"路", Gbk(L"路")},
      {L"Café", Gbk(L"Caf") + "\xA8\xA6"},  // é in GBK
      {L"周杰伦", Utf8(u8"周杰伦")},
      {L"七里香（Live）", Utf8(u8"七里香（Live）")},
      {L"A-Lin · 黄丽玲", Utf8(u8"A-Lin · 黄丽玲")},
      {L"Plain ASCII", "Plain ASCII"},
  };
  const std::string audio(300, '\x33');
  std::vector<TagCase> cases;
  for (const auto& t : texts) {
    cases.push_back({"ID3v1 " + t.bytes, audio + Id3v1(t.bytes, "x"), L"x", t.text});
    cases.push_back(
        {"RIFF INFO " + t.bytes, Wav(InfoList({{"IART", "x"}, {"INAM", t.bytes}})), L"x", t.text});
    cases.push_back({"ID3v2.3 ISO-8859-1 " + t.bytes,
                     Id3v2(3, {{"TPE1", Latin1Frame("x")}, {"TIT2", Latin1Frame(t.bytes)}}) + audio,
                     L"x", t.text});
    cases.push_back({"APE 1.0 " + t.bytes,
                     audio + Ape({{"Artist", "x"}, {"Title", t.bytes}}, 1000, false), L"x",
                     t.text});
  }
  ExpectTags(cases);
}

// ID3v1 fields have 30 bytes; a writer that cuts a longer text there may
// cut its last character in two. That half is dropped; a field that ends
// in a whole character, or ends before its 30 bytes, keeps it.
TEST(TagReaderTest, Id3v1FieldCutInACharacter) {
  const std::string gbk15 = Gbk(L"一二三四五六七八九十甲乙丙丁戊");  // 30 bytes
  const std::string utf8_10 = Utf8(u8"一二三四五六七八九十");        // 30 bytes
  const std::string audio(200, '\x11');
  ExpectTags({
      {"GBK cut", audio + Id3v1("A" + gbk15.substr(0, 29), "x"), L"x",
       L"A一二三四五六七八九十甲乙丙丁"},
      {"GBK whole", audio + Id3v1(gbk15, "x"), L"x", L"一二三四五六七八九十甲乙丙丁戊"},
      {"UTF-8 cut after two bytes", audio + Id3v1("A" + utf8_10.substr(0, 29), "x"), L"x",
       L"A一二三四五六七八九"},
      {"UTF-8 cut after one byte", audio + Id3v1("AB" + utf8_10.substr(0, 28), "x"), L"x",
       L"AB一二三四五六七八九"},
      {"UTF-8 whole", audio + Id3v1(utf8_10, "x"), L"x", L"一二三四五六七八九十"},
      // Shorter than the field: nothing was cut, and a lone lead byte
      // stays what it was.
      {"GBK short, lone lead byte", audio + Id3v1(Gbk(L"一二") + "\xB0", "x"), L"x", L"一二\xFFFD"},
  });
}

TEST(TagReaderTest, Id3v2ChunkOfWavFiles) {
  const std::string id3 = Id3v2(3, {{"TPE1", Utf16Frame(L"歌手")}, {"TIT2", Utf16Frame(L"歌名")}});
  const std::string info = InfoList({{"IART", Gbk(L"别人")}, {"INAM", Gbk(L"别名")}});
  const std::string only_title = Id3v2(4, {{"TIT2", Utf8Frame(u8"歌名")}});
  ExpectTags({
      {"id3 chunk", Wav(Chunk("id3 ", id3)), L"歌手", L"歌名"},
      {"ID3 chunk", Wav(Chunk("ID3 ", id3)), L"歌手", L"歌名"},
      {"ID3 chunk before the data", Wav("").insert(12, Chunk("ID3 ", id3)), L"歌手", L"歌名"},
      // Both there: the ID3v2 tag first, the INFO list fills what it lacks.
      {"INFO, then id3", Wav(info + Chunk("id3 ", id3)), L"歌手", L"歌名"},
      {"id3 with a title only, INFO", Wav(Chunk("id3 ", only_title) + info), L"别人", L"歌名"},
      // A tag whose size claims more than its chunk holds stops at the
      // chunk's end: its 44 bytes end after the first character of the
      // title, and the INFO list that follows is not read as the rest.
      {"tag larger than its chunk", Wav(Chunk("id3 ", id3.substr(0, 44)) + info), L"歌手", L"歌"},
      // The chunk ranks as an ID3v2 tag at the front does: before an APE or
      // ID3v1 tag at the file's end, which fill what it lacks; the INFO list
      // comes after all of them.
      {"id3, ID3v1 appended", Wav(Chunk("id3 ", id3)) + Id3v1("Other", "Someone"), L"歌手",
       L"歌名"},
      {"id3, APE appended", Wav(Chunk("id3 ", id3)) + Ape({{"Title", "Other"}, {"Artist", "X"}}),
       L"歌手", L"歌名"},
      {"id3 with a title only, ID3v1 appended",
       Wav(Chunk("id3 ", only_title) + info) + Id3v1("Other", "Someone"), L"Someone", L"歌名"},
      {"INFO, ID3v1 with a title only", Wav(info) + Id3v1("Other", ""), L"别人", L"Other"},
  });
}

TEST(TagReaderTest, ApeTagAtTheEnd) {
  const std::string audio(2000, '\x44');
  const std::string cover(3 * 1000 * 1000, '\xFF');
  ExpectTags({
      {"2.0 with header", audio + Ape({{"Title", Utf8(u8"七里香")}, {"Artist", Utf8(u8"周杰伦")}}),
       L"周杰伦", L"七里香"},
      {"2.0 without header",
       audio + Ape({{"TITLE", Utf8(u8"七里香")}, {"artist", Utf8(u8"周杰伦")}}, 2000, false),
       L"周杰伦", L"七里香"},
      // A cover item of 3 MB is passed by its length.
      {"cover first",
       audio + Ape({{"Cover Art (Front)", "cover.jpg" + std::string(1, '\0') + cover, 2},
                    {"Artist", "Band"},
                    {"Title", "Song"}}),
       L"Band", L"Song"},
      // Before an ID3v1 tag, the APE tag comes first and ID3v1 fills in.
      {"before ID3v1", audio + Ape({{"Title", Utf8(u8"七里香")}}) + Id3v1("Qilixiang", "Jay"),
       L"Jay", L"七里香"},
      // Several values of one item: the first.
      {"two values", audio + Ape({{"Artist", "One" + std::string(1, '\0') + "Two"}}), L"One", L""},
      // A binary item named Title is not text.
      {"binary title", audio + Ape({{"Title", "bytes", 2}}), L"", L""},
      // ID3v2 at the front comes before an APE tag.
      {"after ID3v2",
       Id3v2(3, {{"TIT2", Latin1Frame("Front")}}) + audio +
           Ape({{"Title", "Back"}, {"Artist", "Band"}}),
       L"Band", L"Front"},
  });
}

// The bytes of a file of music-player/corpus.
std::string Corpus(const char* name) {
  std::ifstream in(std::string(SUITE_SOURCE_DIR) + "/music-player/corpus/" + name,
                   std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files of music-player/corpus, most made by tools we did not write:
// converters and taggers as people use them.
TEST(TagReaderTest, FilesMadeByOtherTools) {
  const struct {
    const char* file;  // how it was made
    std::wstring author, title;
  } files[] = {
      // The corpus of before, read as it was.
      {"id3v1_gbk.mp3", L"李香兰", L"夜来香"},
      {"id3v22.mp3", L"Old", L"名"},
      {"id3v23_gbk.mp3", L"邓丽君", L"月亮代表我的心"},
      {"id3v24_utf8.mp3", L"Artist", L"歌"},
      {"broken_id3.mp3", L"", L"abc"},
      {"asf_content.wma", L"张国荣", L"风继续吹"},
      {"riff_info.wav", L"Band", L"名字"},
      // ffmpeg (-metadata), the converter that writes UTF-8 unchanged.
      {"riff_info_utf8.wav", L"周杰伦", L"七里香"},
      // ffmpeg -write_id3v1 true, its ID3v2 tag removed with id3v2 -d:
      // the title "A七里香七里香七里香七里香" cut at 30 bytes.
      {"id3v1_utf8_cut.mp3", L"周杰伦", L"A七里香七里香七里香"},
      // eyeD3 --add-image (picture frame first), 2.3 and 2.4.
      {"id3v23_cover_first.mp3", L"周杰伦", L"七里香"},
      {"id3v24_cover_first.mp3", L"周杰伦", L"七里香"},
      // kid3-cli writes "ID3 " (2.3), mutagen "id3 " (2.4).
      {"wav_id3_chunk_kid3.wav", L"周杰伦", L"七里香"},
      {"wav_id3_chunk_mutagen.wav", L"周杰伦", L"七里香"},
      // mutagen's APEv2 with a binary cover item; the second with an ID3v1
      // tag written after it by id3v2 -1.
      {"apev2.mp3", L"周杰伦", L"七里香"},
      {"apev2_id3v1.mp3", L"周杰伦", L"七里香"},
  };
  std::vector<TagCase> cases;
  for (const auto& f : files)
    cases.push_back({f.file, Corpus(f.file), f.author, f.title});
  ExpectTags(cases);
}

#if defined(__SANITIZE_ADDRESS__)
// The most heap that was in use at once while counting, above what was in
// use when it began; through the sanitizer's allocation hooks. The runtime
// forgets a block's size before its free hook runs, so the sizes are kept
// here, in a table that allocates nothing.
std::atomic<bool> counting{false};
int64_t heap_in_use = 0, heap_peak = 0;
struct Block {
  const volatile void* pointer;
  size_t size;
};
Block blocks[1 << 16];

Block* Find(const volatile void* pointer) {
  size_t at = (reinterpret_cast<uintptr_t>(pointer) >> 4) % std::size(blocks);
  for (size_t tries = 0; tries < std::size(blocks); ++tries, at = (at + 1) % std::size(blocks))
    if (blocks[at].pointer == pointer)
      return &blocks[at];
  return nullptr;
}

void OnMalloc(const volatile void* pointer, size_t size) {
  if (!counting)
    return;
  if (Block* free_slot = Find(nullptr))
    *free_slot = {pointer, size};
  heap_in_use += static_cast<int64_t>(size);
  heap_peak = std::max(heap_peak, heap_in_use);
}

void OnFree(const volatile void* pointer) {
  if (!counting || !pointer)
    return;
  if (Block* block = Find(pointer)) {
    heap_in_use -= static_cast<int64_t>(block->size);
    *block = {nullptr, 0};
  }
}

// The heap's peak while the tags of `file` are read (the file itself, in
// memory before, not counted), and the tags.
int64_t PeakWhileReading(const std::string& file, MediaTags* tags) {
  static const bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
  EXPECT_TRUE(installed);
  MemorySource source(file);
  std::fill(std::begin(blocks), std::end(blocks), Block{nullptr, 0});
  heap_in_use = 0;
  heap_peak = 0;
  counting = true;
  *tags = ReadTags(source, kGbk);
  counting = false;
  return heap_peak;
}

// Reading the tags of a file with a 10 MB cover takes no more memory than
// reading those of the same file without it.
TEST(TagReaderMemoryTest, CoverCostsNothing) {
  const std::string audio(512 * 1024, '\x55');
  for (const int major : {3, 4}) {
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"TPE1", Utf16Frame(L"周杰伦")}, {"TIT2", Utf16Frame(L"七里香")}};
    auto with_cover = texts;
    with_cover.insert(with_cover.begin(), {"APIC", PictureFrame(major, 10 * 1000 * 1000)});
    MediaTags tags;
    const int64_t without = PeakWhileReading(Id3v2(major, texts) + audio, &tags);
    EXPECT_EQ(tags.title, L"七里香");
    const int64_t with = PeakWhileReading(Id3v2(major, with_cover) + audio, &tags);
    EXPECT_EQ(tags.title, L"七里香");
    EXPECT_LE(with, without) << "ID3v2." << major;
    EXPECT_LT(with, 2 * int64_t(kMaxTagReadBytes)) << "ID3v2." << major;
    std::printf("ID3v2.%d heap peak while reading: %lld bytes with a 10 MB cover, %lld without\n",
                major, static_cast<long long>(with), static_cast<long long>(without));
  }
}
#else
TEST(TagReaderMemoryTest, CoverCostsNothing) {
  GTEST_SKIP() << "needs AddressSanitizer's allocation hooks (SUITE_SANITIZE)";
}
#endif

}  // namespace
}  // namespace player
