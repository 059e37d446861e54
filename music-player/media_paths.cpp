#include "music-player/media_paths.h"

namespace player {

bool IsDrivePrefix(const std::wstring& first_two) {
  static const wchar_t* const kPrefixes[] = {L"c:", L"C:", L"d:", L"D:", L"e:", L"E:",
                                             L"f:", L"F:", L"g:", L"G:", L"h:", L"H:",
                                             L"i:", L"I:", L"j:", L"J:", L"k:", L"K:"};
  for (const wchar_t* prefix : kPrefixes)
    if (first_two == prefix)
      return true;
  return false;
}

std::wstring MediaStem(const std::wstring& media) {
  return media.size() <= 4 ? std::wstring() : media.substr(0, media.size() - 4);
}

}  // namespace player
