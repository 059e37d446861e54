#include "common/display_scale.h"

#include <cmath>

namespace common {

int TwipsToPixels(int twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

int PixelsToTwips(int pixels, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(pixels) * 1440.0 / dpi));
}

int ScalePixels(int pixels_at_96, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(pixels_at_96) * dpi / kUsualDpi));
}

int WholeScale(int dpi) {
  const int whole = dpi / kUsualDpi;
  return whole < 1 ? 1 : whole;
}

int UsableDpi(int reported) {
  return reported < 48 || reported > 960 ? kUsualDpi : reported;
}

}  // namespace common
