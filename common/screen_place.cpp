#include "common/screen_place.h"

#include <algorithm>

namespace common {
namespace {

// The start of a span of `length` moved into [low, high).
int Fit(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

}  // namespace

ScreenRect MoveInto(const ScreenRect& box, const ScreenRect& work) {
  const int width = box.right - box.left, height = box.bottom - box.top;
  const int left = Fit(box.left, width, work.left, work.right);
  const int top = Fit(box.top, height, work.top, work.bottom);
  return ScreenRect{left, top, left + width, top + height};
}

}  // namespace common
