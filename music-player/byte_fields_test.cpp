#include "music-player/byte_fields.h"

#include <gtest/gtest.h>

#include <random>

#include "music-player/tag_test_files.h"
#include "testing/iconv_code_page.h"

namespace player {
namespace {

using test_files::Utf8;
using testing_support::Gbk;

const testing_support::IconvCodePage kGbk;

// The GB2312 characters (lead bytes 0xB0 to 0xF7, trail bytes 0xA1 to
// 0xFE), as GBK bytes.
std::vector<std::string> Gb2312Characters() {
  std::vector<std::string> characters;
  for (int lead = 0xB0; lead <= 0xF7; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail)
      characters.push_back({char(lead), char(trail)});
  return characters;
}

// GBK names must stay GBK. Every name of one or two GB2312 characters is
// tried; of longer names, a sample, where a very few take the shape.
TEST(ByteFieldsTest, GbkNamesStayGbk) {
  const auto characters = Gb2312Characters();
  size_t misread = 0;
  for (const auto& a : characters) {
    misread += IsChineseUtf8(a, false);
    for (const auto& b : characters)
      misread += IsChineseUtf8(a + b, false);
  }
  EXPECT_EQ(misread, 0u);
  std::mt19937 random(7);
  for (int length = 3; length <= 6; ++length) {
    misread = 0;
    constexpr int kNames = 100000;
    for (int i = 0; i < kNames; ++i) {
      std::string name;
      for (int c = 0; c < length; ++c)
        name += characters[random() % characters.size()];
      misread += IsChineseUtf8(name, false);
    }
    // Measured: 4 of 200,000 three-character names, none of the others.
    EXPECT_LE(misread, kNames / 10000u) << length << " characters";
  }
}

// What a converter writes as UTF-8 must become UTF-8: every GB2312
// character alone and in names with ASCII and Chinese punctuation.
TEST(ByteFieldsTest, ChineseUtf8BecomesUtf8) {
  const auto characters = Gb2312Characters();
  std::vector<std::string> utf8;
  for (const auto& c : characters) {
    const std::wstring text = kGbk.Decode(c);
    if (text.size() != 1 || text[0] < 0x4E00)
      continue;  // an empty place of the table
    std::string bytes;
    const char32_t code = text[0];
    bytes += char(0xE0 | (code >> 12));
    bytes += char(0x80 | ((code >> 6) & 0x3F));
    bytes += char(0x80 | (code & 0x3F));
    EXPECT_TRUE(IsChineseUtf8(bytes, false)) << c;
    utf8.push_back(bytes);
  }
  EXPECT_GT(utf8.size(), 6700u);
  const std::string joins[] = {" ",          " - ",        "A",         Utf8(u8"·"),
                               Utf8(u8"（"), Utf8(u8"》"), Utf8(u8"…"), Utf8(u8"！")};
  std::mt19937 random(8);
  for (int i = 0; i < 100000; ++i) {
    std::string name = utf8[random() % utf8.size()];
    for (int c = random() % 8; c > 0; --c)
      name += joins[random() % std::size(joins)] + utf8[random() % utf8.size()];
    ASSERT_TRUE(IsChineseUtf8(name, false)) << name;
  }
}

TEST(ByteFieldsTest, WhatIsAndIsNotChineseUtf8) {
  const struct {
    std::string bytes;
    bool cut_at_end;
    bool chinese;
  } cases[] = {
      {Utf8(u8"周杰伦 - 七里香"), false, true},
      {"plain ASCII", false, false},
      {"", false, false},
      // UTF-8 without a Chinese character: the ANSI code page reads it,
      // as GBK names whose bytes look so ("·" is GBK "路").
      {Utf8(u8"·"), false, false},
      {Utf8(u8"Beyoncé"), false, false},
      {Utf8(u8"ありがとう"), false, false},
      // A Chinese character with a letter of another script.
      {Utf8(u8"七é"), false, false},
      // Cut short at the end: allowed only where a field may be cut.
      {Utf8(u8"七里") + "\xE9\xA6", true, true},
      {Utf8(u8"七里") + "\xE9", true, true},
      {Utf8(u8"七里") + "\xE9\xA6", false, false},
      {"AB\xE9\xA6", true, false},                 // nothing Chinese before it
      {Utf8(u8"七里") + "\xE9\x41", true, false},  // not a continuation
      {Utf8(u8"七") + "\xFF", true, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsChineseUtf8(c.bytes, c.cut_at_end), c.chinese) << c.bytes;
}

TEST(ByteFieldsTest, DecodeByteField) {
  const struct {
    std::string bytes;
    bool cut;
    std::wstring text;
  } cases[] = {
      {Gbk(L"邓丽君"), false, L"邓丽君"},
      {Utf8(u8"七里香"), false, L"七里香"},
      {Utf8(u8"七里香") + "\xE9\xA6", true, L"七里香"},
      {Gbk(L"七里香") + "\xCF", true, L"七里香"},
      // Not cut: what is there is shown, a lone lead byte as the
      // replacement character.
      {Gbk(L"七里香") + "\xCF", false, L"七里香\xFFFD"},
      // A cut field that ends in a whole character keeps it, a one-byte
      // one too.
      {Gbk(L"七里香"), true, L"七里香"},
      {Gbk(L"七里") + "\xA1\xA1", true, L"七里\x3000"},
      {"Song", true, L"Song"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeByteField(c.bytes, kGbk, c.cut), c.text) << c.bytes;
}

}  // namespace
}  // namespace player
