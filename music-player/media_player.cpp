#include "music-player/media_player.h"

#include <cmath>

namespace player {

std::wstring PositionText(double seconds) {
  if (!(seconds > 0))
    seconds = 0;  // also NaN
  if (seconds > 1e9)
    seconds = 1e9;
  const long long whole = static_cast<long long>(std::floor(seconds));
  const long long minutes = whole / 60, rest = whole % 60;
  std::wstring text = std::to_wstring(minutes);
  if (text.size() < 2)
    text.insert(0, 2 - text.size(), L'0');
  text += L':';
  if (rest < 10)
    text += L'0';
  text += std::to_wstring(rest);
  return text;
}

}  // namespace player
