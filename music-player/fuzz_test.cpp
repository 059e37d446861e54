// Mutated inputs for everything that reads outside data in the player: the
// tag reader, the playlist reader, the lyric loader and the lyric line.
// Run under the sanitizers, a read past a buffer, an overflow or a hang
// fails the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "common/unicode.h"
#include "music-player/byte_fields.h"
#include "music-player/lyrics.h"
#include "music-player/playlist.h"
#include "music-player/tag_reader.h"
#include "music-player/tag_test_files.h"
#include "testing/iconv_code_page.h"

namespace player {
namespace {

constexpr int kRounds = 100000;

std::vector<std::string> Corpus(const std::vector<std::string>& endings) {
  std::vector<std::string> files;
  const std::filesystem::path dir =
      std::filesystem::path(SUITE_SOURCE_DIR) / "music-player" / "corpus";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    for (const auto& e : endings) {
      if (name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      }
    }
  }
  return files;
}

// One mutation: flipped bytes, a run of 0xFF or 0x00 (absurd sizes), a cut,
// an insertion or a duplicated piece.
std::string Mutate(std::string s, std::mt19937& random) {
  const int steps = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < steps; ++i) {
    const size_t at = s.empty() ? 0 : random() % s.size();
    switch (random() % 6) {
      case 0:
        if (!s.empty())
          s[at] = static_cast<char>(random());
        break;
      case 1:
        s.insert(at, std::string(1 + random() % 8, static_cast<char>(random() % 2 ? 0xFF : 0x00)));
        break;
      case 2:
        s.resize(at);
        break;
      case 3:
        s.insert(at, std::string(1 + random() % 16, static_cast<char>(random())));
        break;
      case 4:
        if (!s.empty())
          s.erase(at, 1 + random() % 16);
        break;
      default:
        if (!s.empty())
          s.insert(random() % (s.size() + 1), s.substr(at, 1 + random() % 64));
        break;
    }
  }
  return s;
}

// Tags in the shapes the corpus has no file of, built small so that
// mutations reach every part.
std::vector<std::string> BuiltTagFiles() {
  using namespace test_files;
  const std::string audio(64, '\x55');
  const std::string artist = Utf16Frame(L"歌手"), title = Latin1Frame(Utf8(u8"七里香"));
  return {
      Id3v2(4, {{"APIC", PictureFrame(4, 300)}, {"TPE1", artist}, {"TIT2", title}}, PlainSizes()) +
          audio,
      Id3v2(3, {{"APIC", PictureFrame(3, 200)}, {"TPE1", artist}, {"TIT2", title}},
            Flags(0xC0, Be32(6) + std::string(6, '\0'))) +
          audio,
      Id3v2(2, {{"PIC", PictureFrame(2, 150)}, {"TT2", title}}, Flags(0x80)) + audio,
      audio + Ape({{"Cover Art (Front)", PictureBytes(200), 2}, {"Title", "T"}, {"Artist", "A"}}) +
          Id3v1(Utf8(u8"一二三四五六七八九十"), "x"),
      Wav(InfoList({{"INAM", Utf8(u8"名")}}) + Chunk("id3 ", Id3v2(4, {{"TPE1", artist}}))),
      Asf({AsfObject(std::string(16, '\x07'), PictureBytes(100)), AsfContent(L"t", L"a")}),
  };
}

TEST(FuzzTest, TagReader) {
  auto seeds = Corpus({".mp3", ".wma", ".wav"});
  ASSERT_GE(seeds.size(), 14u);
  for (const auto& file : BuiltTagFiles())
    seeds.push_back(file);
  testing_support::IconvCodePage gbk;
  std::mt19937 random(1);
  size_t with_title = 0;
  for (int i = 0; i < kRounds; ++i) {
    test_files::RecordingSource source(Mutate(seeds[random() % seeds.size()], random));
    const MediaTags tags = ReadTags(source, gbk);
    with_title += !tags.title.empty();
    ASSERT_LE(tags.title.size(), source.Size());
    // Whatever the sizes in a file claim, the reader asks for little at once.
    ASSERT_LE(source.largest_read(), kMaxTagReadBytes);
  }
  EXPECT_GT(with_title, 0u);
}

TEST(FuzzTest, ByteFields) {
  testing_support::IconvCodePage gbk;
  std::mt19937 random(5);
  const std::string seeds[] = {"\xE4\xB8\x83\xE9\x87\x8C\xE9\xA6\x99",
                               testing_support::Gbk(L"邓丽君"), "ASCII"};
  for (int i = 0; i < kRounds / 5; ++i) {
    const std::string bytes = Mutate(seeds[random() % std::size(seeds)], random);
    const bool cut = random() % 2;
    IsChineseUtf8(bytes, cut);
    ASSERT_LE(DecodeByteField(bytes, gbk, cut).size(), bytes.size());
  }
}

TEST(FuzzTest, PlaylistReader) {
  const auto seeds = Corpus({".wpl"});
  ASSERT_FALSE(seeds.empty());
  std::mt19937 random(2);
  for (int i = 0; i < kRounds; ++i) {
    const std::string bytes = Mutate(seeds[random() % seeds.size()], random);
    const auto items = ParsePlaylist(common::DecodeUtf8(bytes), L"C:\\Music");
    ASSERT_LE(items.size(), kMaxPlaylistItems);
    for (const auto& item : items)
      ASSERT_FALSE(IsPlaylist(item));
  }
}

TEST(FuzzTest, LyricLoader) {
  const auto seeds = Corpus({".lrc"});
  ASSERT_GE(seeds.size(), 4u);
  testing_support::IconvCodePage gbk;
  std::mt19937 random(3);
  const wchar_t* positions[] = {L"00:01", L"00:06", L"",       L"99:59",
                                L"1:2",   L"00:00", L"100:00", L"999999999:59"};
  for (int i = 0; i < kRounds; ++i) {
    const std::string bytes = Mutate(seeds[random() % seeds.size()], random);
    const auto lines = SplitLines(DecodeLyricBytes(bytes, gbk));
    ASSERT_LE(lines.size(), bytes.size());
    const Lyrics lyrics(lines);
    ASSERT_LE(lyrics.size(), bytes.size());
    if (const auto shown = lyrics.At(positions[random() % std::size(positions)])) {
      ASSERT_LE(shown->size(), bytes.size());
    }
  }
}

TEST(FuzzTest, HugeAndBinaryLyrics) {
  testing_support::IconvCodePage gbk;
  std::string big(kMaxLyricBytes + 1000, 'a');
  for (size_t i = 0; i < big.size(); i += 97)
    big[i] = '\n';
  const auto lines = SplitLines(DecodeLyricBytes(big, gbk));
  EXPECT_GT(lines.size(), 40000u);
  std::mt19937 random(4);
  std::string binary(200000, '\0');
  for (char& c : binary)
    c = static_cast<char>(random());
  Lyrics(SplitLines(DecodeLyricBytes(binary, gbk))).At(L"");
  const std::string one_long_line(3000000, 'x');
  EXPECT_EQ(SplitLines(DecodeLyricBytes(one_long_line, gbk)).size(), 1u);
}

}  // namespace
}  // namespace player
