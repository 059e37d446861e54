#include "common/text_rules.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(IsNumericTest, Table) {
  const struct {
    const wchar_t* text;
    bool numeric;
  } cases[] = {
      {L"", false},       {L" ", false},     {L"0", true},        {L"8", true},
      {L"8.", true},      {L".8", true},     {L".", false},       {L"-", false},
      {L"+", false},      {L"-5", true},     {L"+5", true},       {L"-123456", true},
      {L"--5", false},    {L"+-5", false},   {L" 42 ", true},     {L"\t42", true},
      {L"4 2", false},    {L"1e5", true},    {L"1E5", true},      {L"1e+5", true},
      {L"1e-5", true},    {L"1e", false},    {L"e5", false},      {L".e5", false},
      {L"2.5e3", true},   {L"1.2.3", false}, {L"1.1.1.1", false}, {L"192.168.0.1", false},
      {L"12a", false},    {L"a12", false},   {L"0x10", false},    {L"中", false},
      {L"1,000", false},  {L"tm100", false}, {L"00012", true},    {L"123456789012345678", true},
      {L"１２３", false},  // full-width digits
      {L"1e999", false},   // overflows a double
      {L"1e-999", true},   // underflow is zero
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsNumeric(c.text), c.numeric) << "input: \"" << c.text << "\"";
}

TEST(ParseNumberTest, Values) {
  EXPECT_DOUBLE_EQ(*ParseNumber(L" 100 "), 100.0);
  EXPECT_DOUBLE_EQ(*ParseNumber(L"8."), 8.0);
  EXPECT_DOUBLE_EQ(*ParseNumber(L".5"), 0.5);
  EXPECT_DOUBLE_EQ(*ParseNumber(L"-2.5e2"), -250.0);
  EXPECT_FALSE(ParseNumber(L"abc").has_value());
}

TEST(RoundHalfEvenTest, Table) {
  const struct {
    double value;
    long long rounded;
  } cases[] = {{20.5, 20},   {21.5, 22},   {22.5, 22}, {255.5, 256}, {254.5, 254},
               {100.4, 100}, {100.6, 101}, {-0.5, 0},  {-1.5, -2},   {0.0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
}

// One level, one opacity: the "tm" command, the start-up and the player all
// read a stored level through this.
TEST(OpacityLevelTest, Table) {
  const struct {
    const wchar_t* text;
    std::optional<int> alpha;
  } cases[] = {
      {L"100", 100},          {L" 90 ", 90},          {L"0", 0},
      {L"255", 255},          {L"255.5", 255},        {L"255.99", 255},
      {L"254.5", 254},        {L"20.5", 20},          {L"-0.4", 0},
      {L"256", std::nullopt}, {L"300", std::nullopt}, {L"-1", std::nullopt},
      {L"", std::nullopt},    {L"abc", std::nullopt}, {L"1e400", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OpacityLevel(c.text), c.alpha) << "level: \"" << c.text << "\"";
}

TEST(CharacterHelpersTest, FirstAndLastCharacters) {
  EXPECT_EQ(LeftChars(L"c:\\windows", 2), L"c:");
  EXPECT_EQ(RightChars(L"song.mp3", 4), L".mp3");
  EXPECT_EQ(RightChars(L"ab", 4), L"ab");
  EXPECT_EQ(LeftChars(L"", 2), L"");
  EXPECT_EQ(LeftChars(L"中文输入", 2), L"中文");
  EXPECT_EQ(RightChars(L"中文输入", 2), L"输入");
  EXPECT_EQ(RightChars(L"歌曲.mp3", 4), L".mp3");
  EXPECT_EQ(LeftChars(L"x", 2), L"x");
}

TEST(CharacterHelpersTest, ReplaceAll) {
  EXPECT_EQ(ReplaceAll(L"c:\\a\\b", L"\\", L"/"), L"c:/a/b");
  EXPECT_EQ(ReplaceAll(L"\\\\", L"\\", L"/"), L"//");
  EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
  EXPECT_EQ(ReplaceAll(L"中\\文", L"\\", L"/"), L"中/文");
  EXPECT_EQ(ReplaceAll(L"aaa", L"aa", L"b"), L"ba");
}

TEST(CharacterHelpersTest, TrimAndCut) {
  EXPECT_EQ(TrimBlanks(L"  1 "), L"1");
  EXPECT_EQ(TrimBlanks(L"\t1\t"), L"\t1\t");
  EXPECT_EQ(TrimBlanks(L"   "), L"");
  EXPECT_EQ(CutAtNul(std::wstring(L"ab\0cd", 5)), L"ab");
  EXPECT_EQ(ToLowerAscii(L"A:\\ThunderRT6FormDC"), L"a:\\thunderrt6formdc");
}

// Full-width comma and digit, ideographic comma and space, pinyin letters
// are in GBK; "ñ" and Hangul are not, and "€" is one byte (0x80) there.
TEST(DoubleByteTest, Table) {
  const struct {
    const wchar_t* text;
    bool double_byte;
  } cases[] = {
      {L"", false},  {L"a", false}, {L"1", false},  {L"中国", true}, {L"百度一下", true},
      {L"，", true}, {L"１", true}, {L"、", true},  {L"é", true},    {L"ñ", false},
      {L"ü", true},  {L"€", false}, {L"가", false}, {L"a中", false}, {L"\u3000", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HasDoubleByteStart(c.text), c.double_byte) << "input: " << c.text;
  EXPECT_TRUE(IsGbkDoubleByte(0x4E00));
  EXPECT_TRUE(IsGbkDoubleByte(0x9FA5));
  EXPECT_TRUE(IsGbkDoubleByte(0xE000));  // user-defined area
  EXPECT_FALSE(IsGbkDoubleByte(0x7F));
  EXPECT_FALSE(IsGbkDoubleByte(0x1F600));
}

}  // namespace
}  // namespace common
