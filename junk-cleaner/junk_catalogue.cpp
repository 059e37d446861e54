#include "junk-cleaner/junk_catalogue.h"

#include "common/text_rules.h"

namespace junkclean {
namespace {

// "?" is a literal character here, not a wildcard. The three types with a
// four-letter extension store their last four letters without the dot.
constexpr JunkType kTypes[kLastType - kFirstType + 1] = {
    {L"*.tmp", L".tmp"},  {L"*._mp", L"._mp"}, {L"*.syd", L".syd"},  {L"*.gid", L".gid"},
    {L"*.old", L".old"},  {L"*.bak", L".bak"}, {L"*.chk", L".chk"},  {L"*.fts", L".fts"},
    {L"*.ftg", L".ftg"},  {L"*.prv", L".prv"}, {L"*.wbk", L".wbk"},  {L"*.xlk", L".xlk"},
    {L"*.~mp", L".~mp"},  {L"*.pch", L".pch"}, {L"*.err", L".err"},  {L"*.$$$", L".$$$"},
    {L"*.---", L".---"},  {L"*.___", L".___"}, {L"*.??$", L".??$"},  {L"*.?~?", L".?~?"},
    {L"*.%%%", L".%%%"},  {L"*.@@@", L".@@@"}, {L"*.cdr_", L"cdr_"}, {L"*.temp", L"temp"},
    {L"*.#Res", L"#Res"},
};

}  // namespace

const JunkType& TypeOf(int box) {
  return kTypes[box - kFirstType];
}

SuffixSlots::SuffixSlots() {
  for (int n = kFirstType; n <= kLastType; ++n)
    slots_[n] = L"Text" + std::to_wstring(n);
}

// Asked for every file of every drive: compares in place, without making a
// string of the ending.
bool SuffixSlots::Matches(const std::wstring& full_path) const {
  const size_t length = full_path.size() < 4 ? full_path.size() : 4;
  const std::wstring_view ending(full_path.data() + full_path.size() - length, length);
  for (int n = 1; n <= 27; ++n)
    if (!slots_[n].empty() && slots_[n] == ending)
      return true;
  return false;
}

std::wstring CutEnding(const std::wstring& text) {
  return common::RightChars(text, 4);
}

}  // namespace junkclean
