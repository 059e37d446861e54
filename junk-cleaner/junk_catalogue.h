// junksweep's junk types and the 27 suffix slots through which the
// selection reaches the search walk. Slots 2 to 26 belong to the 25 type
// boxes Check2 .. Check26; slots 27 and 1 are the two fields for endings
// the user types.
#ifndef JUNK_CLEANER_JUNK_CATALOGUE_H_
#define JUNK_CLEANER_JUNK_CATALOGUE_H_

#include <array>
#include <string>

namespace junkclean {

constexpr int kFirstType = 2;
constexpr int kLastType = 26;
constexpr int kCustomBox = 27;  // "自定义："
constexpr int kSelectAll = 28;  // "全  选"

struct JunkType {
  const wchar_t* caption;  // "*.tmp"
  const wchar_t* ending;   // ".tmp": the last four characters of the pattern
};
// The type of box `box` (2 .. 26).
const JunkType& TypeOf(int box);

class SuffixSlots {
 public:
  // Slots of unticked boxes hold a text of five characters at first, which
  // can never equal the four characters a file name is compared by.
  SuffixSlots();
  const std::wstring& slot(int n) const { return slots_[n]; }
  void set(int n, const std::wstring& text) { slots_[n] = text; }
  // True when the last four characters of the path equal a slot, exactly
  // and case-sensitively. An empty slot never matches.
  bool Matches(const std::wstring& full_path) const;

 private:
  std::array<std::wstring, 28> slots_;  // 1 .. 27
};

// The cut at the start of every run: the last four characters (the whole
// text when it has four or fewer).
std::wstring CutEnding(const std::wstring& text);

}  // namespace junkclean

#endif  // JUNK_CLEANER_JUNK_CATALOGUE_H_
