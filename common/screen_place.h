// Where a window comes back onto a screen: the least move (no change of
// size) that puts it inside the screen's work area.
#ifndef COMMON_SCREEN_PLACE_H_
#define COMMON_SCREEN_PLACE_H_

namespace common {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

// `box` moved into `work`; a box larger than the work area keeps its top
// and left edges on the work area's, so that its title and drag handle
// stay in reach.
ScreenRect MoveInto(const ScreenRect& box, const ScreenRect& work);

}  // namespace common

#endif  // COMMON_SCREEN_PLACE_H_
