// Text rules shared by every program: the numeric test, first and last
// characters, replacing, trimming and the double-byte test.
//
// Lengths are counted in wchar_t units, which on Windows are the UTF-16
// code units that the controls hold.
#ifndef COMMON_TEXT_RULES_H_
#define COMMON_TEXT_RULES_H_

#include <optional>
#include <string>
#include <string_view>

namespace common {

// A text is numeric when it reads as a whole as a decimal number: optional
// blanks, an optional sign, digits with an optional decimal point (at least
// one digit on either side of it), an optional exponent ("e" or "E",
// optional sign, digits), optional blanks. "8." and ".8" are numeric; the
// empty text, a lone point and a dotted address are not. Numbers too large
// for a double are not numeric either.
bool IsNumeric(std::wstring_view text);

// A space or a tab; an ASCII digit.
inline bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}
inline bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// The value of a numeric text, or nothing when IsNumeric is false.
std::optional<double> ParseNumber(std::wstring_view text);

// Rounds to the nearest whole number, halves to the even one (banker's
// rounding, as the platform's integer conversion does).
long long RoundHalfEven(double value);

// The window opacity (alpha, 0 to 255) of a transparency level as the
// "tm" command takes it, the settings file stores it and the command box
// and the player read it: the number rounded half to even, at most 255,
// so that "255.5" gives 255 everywhere. Nothing for a text that is not a
// number, and for a level below 0 or from 256 on.
std::optional<int> OpacityLevel(std::wstring_view text);

// The first / last `count` characters; the whole text when it is shorter.
std::wstring LeftChars(std::wstring_view text, size_t count);
std::wstring RightChars(std::wstring_view text, size_t count);

// Every occurrence of `from` replaced by `to`; an empty `from` changes
// nothing.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);

// Blanks (spaces) removed at both ends; other white space stays.
std::wstring TrimBlanks(std::wstring_view text);

// The text up to its first NUL character.
std::wstring CutAtNul(std::wstring_view text);

// ASCII letters in lower case; everything else unchanged.
std::wstring ToLowerAscii(std::wstring_view text);

// True when code page 936 (GBK, the ANSI code page of Simplified Chinese
// Windows) encodes the character with two bytes. The table is built in, so
// the answer is the same on a Windows of any language.
bool IsGbkDoubleByte(char32_t code_point);

// True when the first character of the text is a GBK double-byte one.
bool HasDoubleByteStart(std::wstring_view text);

// Decimal text of a number, without leading zeros or blanks.
std::wstring ToDecimal(long long value);

}  // namespace common

#endif  // COMMON_TEXT_RULES_H_
